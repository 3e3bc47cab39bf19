#pragma once

#include <cstdint>

#include "framework/services/Exceptions.h"

// Every throw site of the plug-in, each named once. The source texts and lines are what callers
// and stored reports see, so they are fixed here and never follow where the code stands.
namespace ThrowSites {

using AppFrame::ThrowSite;

// Source texts of the framework family's throw sites.
inline constexpr char kMessagePublisherSource[] = ".\\Source\\CoreFramework\\Core\\MessagePublisher";
inline constexpr char kMessagingServerSource[] = ".\\Source\\CoreFramework\\Core\\MessagingServer";
inline constexpr char kPluginServicesSource[] = ".\\Source\\PluginServices";
inline constexpr char kTimerManagerSource[] = ".\\Source\\CoreFramework\\Core\\TimerManager";
inline constexpr char kMessageSubscriberSource[] = "Source\\CoreFramework\\Core\\MessageSubscriber";
inline constexpr char kTimerClientSource[] = "Source\\CoreFramework\\Core\\TimerClient";
inline constexpr char kPluginUIRootSource[] = ".\\Source\\PluginUIRoot";
inline constexpr char kControlContainerSource[] = ".\\Source\\CoreFramework\\Controls\\ControlContainer";
inline constexpr char kDrawingContextSource[] = ".\\Source\\(Win)\\WinContext";
inline constexpr char kOffscreenImageSource[] = ".\\Source\\(Win)\\OGWorld";
inline constexpr char kWindowContextSource[] = "VstSupport\\Source\\(Win)\\VSTWinWindowContext";

// MessagePublisher::BadMsgClassRef: a message reference the publisher does not hold.
inline constexpr ThrowSite kUnpublish{kMessagePublisherSource, 62};
inline constexpr ThrowSite kGetMessageClass{kMessagePublisherSource, 79};
inline constexpr ThrowSite kGetSubscriberCount{kMessagePublisherSource, 92};
inline constexpr ThrowSite kSendMessage{kMessagePublisherSource, 106};
inline constexpr ThrowSite kPostMessage{kMessagePublisherSource, 120};
inline constexpr ThrowSite kMuteMessageClass{kMessagePublisherSource, 133};
// MessagingServer::BadMsgClassId: a class the server does not hold.
inline constexpr ThrowSite kRemoveMessageClass{kMessagingServerSource, 89};
// PluginServices::PluginServicesNotReady: the services hold no timer manager / messaging server.
inline constexpr ThrowSite kNoTimerManager{kPluginServicesSource, 42};
inline constexpr ThrowSite kNoMessagingServer{kPluginServicesSource, 52};
// TimerManager::BadTimer: a timer the manager does not hold.
inline constexpr ThrowSite kRemoveTimer{kTimerManagerSource, 250};
// MessageSubscriber<T>::BadSubRef: a subscription reference already in use.
inline constexpr ThrowSite kSubscribe{kMessageSubscriberSource, 137};
// TimerClient<T>::BadTimerUserId: a timer user id already in use, or unknown.
inline constexpr ThrowSite kAddTimer{kTimerClientSource, 120};
inline constexpr ThrowSite kRestartTimer{kTimerClientSource, 171};
inline constexpr ThrowSite kSuspendTimer{kTimerClientSource, 186};
// AppFrame::TimeOut: the audio callback did not let go within the bounded wait.
inline constexpr ThrowSite kAudioPauseTimeOut{kPluginUIRootSource, 107};
// AppFrame::DuplicateEntry: a control container given a second control with the same id.
inline constexpr ThrowSite kDuplicateControl{kControlContainerSource, 62};
// AppFrame::ResAlloc: the drawing context, an offscreen image or the editor's window could not
// get what it needs. An offscreen image: a size out of range, pixels that cannot be allocated,
// a bitmap the library does not hold.
inline constexpr ThrowSite kDrawingContextResource{kDrawingContextSource, 808};
inline constexpr ThrowSite kOffscreenImageSize{kOffscreenImageSource, 42};
inline constexpr ThrowSite kOffscreenImageBitmap{kOffscreenImageSource, 59};
inline constexpr ThrowSite kOffscreenImageCopy{kOffscreenImageSource, 95};
inline constexpr ThrowSite kWindowClass{kWindowContextSource, 67};
inline constexpr ThrowSite kChildWindow{kWindowContextSource, 85};
inline constexpr ThrowSite kWindowSurface{kWindowContextSource, 100};
inline constexpr ThrowSite kWindowTimer{kWindowContextSource, 118};
inline constexpr ThrowSite kTextEditControl{kWindowContextSource, 555};

// A check of the XML archive; its parse exception names the expression, the archive's source
// text and the line.
struct ArchiveCheck {
  const char* expression{nullptr};
  std::int32_t line{0};
};

inline constexpr char kXMLArchiveSource[] = "MiscCodeLib\\Serialization\\XMLArchive";

inline constexpr ArchiveCheck kQuotePair{"quotePairEnd!=GetOpenEnd()", 206};
inline constexpr ArchiveCheck kValueStart{"valStart!=GetOpenEnd()", 219};
inline constexpr ArchiveCheck kValueEnd{"valEnd!=GetOpenEnd()", 224};
inline constexpr ArchiveCheck kFoundRoot{"foundRoot", 280};
inline constexpr ArchiveCheck kStartTagEnd{"start!=mLoadStreamEnd", 301};
inline constexpr ArchiveCheck kNextTag{"pos!=mLoadStreamEnd", 339};
inline constexpr ArchiveCheck kDepth{"depth<kMaxDepth", 344};
inline constexpr ArchiveCheck kClosingTagEnd{"newPos!=mLoadStreamEnd", 368};
inline constexpr ArchiveCheck kOtherTagEnd{"pos!=mLoadStreamEnd", 396};
inline constexpr ArchiveCheck kAttributeEnd{"pos!=mLoadStreamEnd", 409};
inline constexpr ArchiveCheck kLoading{"!mScopes.empty()", 1010};
inline constexpr ArchiveCheck kAttributeFound{"attrNode!=NULL", 1026};
inline constexpr ArchiveCheck kIsAttribute{"attrNode->GetType()==ArchiveNode::Attribute", 1029};
inline constexpr ArchiveCheck kAttributeType{"typeVal.first", 1032};
inline constexpr ArchiveCheck kObjectFound{"objNode!=NULL", 1039};
inline constexpr ArchiveCheck kIsObject{"objNode->GetType()==ArchiveNode::Object", 1042};
inline constexpr ArchiveCheck kObjectType{"typeVal.first", 1045};
inline constexpr ArchiveCheck kObjectIdFound{"objNode!=NULL", 1052};
inline constexpr ArchiveCheck kSizeInRange{"size<=maximum", 1058};
inline constexpr ArchiveCheck kNameCharacters{"str.find(cSpecialChars[k]) == std::string::npos", 1064};
inline constexpr ArchiveCheck kStorableValue{"IsStorableValue(str)", 1070};
inline constexpr ArchiveCheck kHexDigits{"IsHexDigit(c)", 1076};
// The program bank's header line, checked by the bank reader.
inline constexpr ArchiveCheck kBankHeader{"foundHeader", 1080};

}  // namespace ThrowSites
