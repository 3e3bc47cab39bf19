#include "framework/services/ThrowSites.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

namespace {

// The texts and lines callers and stored reports see: a row may move in the code, never change.
TEST(ThrowSites, FrameworkRowsKeepTheirSourceTextsAndLines) {
  const struct {
    const AppFrame::ThrowSite& row;
    const char* file;
    int line;
  } rows[] = {
      {ThrowSites::kUnpublish, ".\\Source\\CoreFramework\\Core\\MessagePublisher", 62},
      {ThrowSites::kGetMessageClass, ".\\Source\\CoreFramework\\Core\\MessagePublisher", 79},
      {ThrowSites::kGetSubscriberCount, ".\\Source\\CoreFramework\\Core\\MessagePublisher", 92},
      {ThrowSites::kSendMessage, ".\\Source\\CoreFramework\\Core\\MessagePublisher", 106},
      {ThrowSites::kPostMessage, ".\\Source\\CoreFramework\\Core\\MessagePublisher", 120},
      {ThrowSites::kMuteMessageClass, ".\\Source\\CoreFramework\\Core\\MessagePublisher", 133},
      {ThrowSites::kRemoveMessageClass, ".\\Source\\CoreFramework\\Core\\MessagingServer", 89},
      {ThrowSites::kNoTimerManager, ".\\Source\\PluginServices", 42},
      {ThrowSites::kNoMessagingServer, ".\\Source\\PluginServices", 52},
      {ThrowSites::kRemoveTimer, ".\\Source\\CoreFramework\\Core\\TimerManager", 250},
      {ThrowSites::kSubscribe, "Source\\CoreFramework\\Core\\MessageSubscriber", 137},
      {ThrowSites::kAddTimer, "Source\\CoreFramework\\Core\\TimerClient", 120},
      {ThrowSites::kRestartTimer, "Source\\CoreFramework\\Core\\TimerClient", 171},
      {ThrowSites::kSuspendTimer, "Source\\CoreFramework\\Core\\TimerClient", 186},
      {ThrowSites::kAudioPauseTimeOut, ".\\Source\\PluginUIRoot", 107},
      {ThrowSites::kDuplicateControl, ".\\Source\\CoreFramework\\Controls\\ControlContainer", 62},
      {ThrowSites::kDrawingContextResource, ".\\Source\\(Win)\\WinContext", 808},
      {ThrowSites::kOffscreenImageSize, ".\\Source\\(Win)\\OGWorld", 42},
      {ThrowSites::kOffscreenImageBitmap, ".\\Source\\(Win)\\OGWorld", 59},
      {ThrowSites::kOffscreenImageCopy, ".\\Source\\(Win)\\OGWorld", 95},
      {ThrowSites::kWindowClass, "VstSupport\\Source\\(Win)\\VSTWinWindowContext", 67},
      {ThrowSites::kChildWindow, "VstSupport\\Source\\(Win)\\VSTWinWindowContext", 85},
      {ThrowSites::kWindowSurface, "VstSupport\\Source\\(Win)\\VSTWinWindowContext", 100},
      {ThrowSites::kWindowTimer, "VstSupport\\Source\\(Win)\\VSTWinWindowContext", 118},
      {ThrowSites::kTextEditControl, "VstSupport\\Source\\(Win)\\VSTWinWindowContext", 555},
  };
  std::set<std::pair<std::string, int>> seen;
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.file) + ":" + std::to_string(r.line));
    EXPECT_STREQ(r.row.file, r.file);
    EXPECT_EQ(r.row.line, r.line);
    EXPECT_TRUE(seen.emplace(r.row.file, r.row.line).second) << "two rows name one site";
  }
}

TEST(ThrowSites, ArchiveChecksKeepTheirExpressionsAndLines) {
  EXPECT_STREQ(ThrowSites::kXMLArchiveSource, "MiscCodeLib\\Serialization\\XMLArchive");
  const struct {
    const ThrowSites::ArchiveCheck& row;
    const char* expression;
    int line;
  } rows[] = {
      {ThrowSites::kQuotePair, "quotePairEnd!=GetOpenEnd()", 206},
      {ThrowSites::kValueStart, "valStart!=GetOpenEnd()", 219},
      {ThrowSites::kValueEnd, "valEnd!=GetOpenEnd()", 224},
      {ThrowSites::kFoundRoot, "foundRoot", 280},
      {ThrowSites::kStartTagEnd, "start!=mLoadStreamEnd", 301},
      {ThrowSites::kNextTag, "pos!=mLoadStreamEnd", 339},
      {ThrowSites::kDepth, "depth<kMaxDepth", 344},
      {ThrowSites::kClosingTagEnd, "newPos!=mLoadStreamEnd", 368},
      {ThrowSites::kOtherTagEnd, "pos!=mLoadStreamEnd", 396},
      {ThrowSites::kAttributeEnd, "pos!=mLoadStreamEnd", 409},
      {ThrowSites::kLoading, "!mScopes.empty()", 1010},
      {ThrowSites::kAttributeFound, "attrNode!=NULL", 1026},
      {ThrowSites::kIsAttribute, "attrNode->GetType()==ArchiveNode::Attribute", 1029},
      {ThrowSites::kAttributeType, "typeVal.first", 1032},
      {ThrowSites::kObjectFound, "objNode!=NULL", 1039},
      {ThrowSites::kIsObject, "objNode->GetType()==ArchiveNode::Object", 1042},
      {ThrowSites::kObjectType, "typeVal.first", 1045},
      {ThrowSites::kObjectIdFound, "objNode!=NULL", 1052},
      {ThrowSites::kSizeInRange, "size<=maximum", 1058},
      {ThrowSites::kNameCharacters, "str.find(cSpecialChars[k]) == std::string::npos", 1064},
      {ThrowSites::kStorableValue, "IsStorableValue(str)", 1070},
      {ThrowSites::kHexDigits, "IsHexDigit(c)", 1076},
      {ThrowSites::kBankHeader, "foundHeader", 1080},
  };
  std::set<int> lines;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.line);
    EXPECT_STREQ(r.row.expression, r.expression);
    EXPECT_EQ(r.row.line, r.line);
    EXPECT_TRUE(lines.insert(r.row.line).second) << "two checks share a line";
  }
}

}  // namespace
