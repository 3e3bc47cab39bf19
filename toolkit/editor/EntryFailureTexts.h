#pragma once

#include "framework/core/ErrorReporting.h"

// What each editor entry reports when a failure reaches its handler (ReportCaughtFailure): the
// message and detail when memory ran out, then those for any other failure.
namespace EntryFailureTexts {

// The VST editor's entries.
inline constexpr FailureTexts kOpen{"Cannot open editor window.", kInsufficientMemory,
                                    "Cannot open editor window.", kInsufficientMemory};
inline constexpr FailureTexts kClose{"Cannot destroy editor window.", kInsufficientMemory,
                                     "Cannot destroy editor window.", kInsufficientMemory};
inline constexpr FailureTexts kIdle{"An unknown error has occurred.", "", "An unknown error has occurred.",
                                    ""};
inline constexpr FailureTexts kPaint{"Cannot open editor window.", kInsufficientMemory,
                                     "An unknown error occurred.", ""};
inline constexpr FailureTexts kMouseDown{"Cannot open editor window.", kInsufficientMemory,
                                         "An unknown error occurred.", ""};
inline constexpr FailureTexts kActivate{"An unknown error occurred.", "", "An unknown error occurred.", ""};
inline constexpr FailureTexts kDeactivate{"Cannot open editor window.", kInsufficientMemory,
                                          "An unknown error has occurred.", ""};

// The editor root's.
inline constexpr FailureTexts kRootOpen{"Cannot open editor window.", kInsufficientMemory,
                                        "Cannot open editor window.", "An unknown error has occurred."};
inline constexpr FailureTexts kRootIdle{"An unknown error occurred.", kInsufficientMemory,
                                        "An unknown error occurred.", ""};
inline constexpr FailureTexts kRootDraw{"Cannot open editor window.", kInsufficientMemory,
                                        "An unknown error occurred.", ""};
inline constexpr FailureTexts kRootActivate{"An error occurred.", kInsufficientMemory,
                                            "An unknown error has occurred.", ""};

}  // namespace EntryFailureTexts
