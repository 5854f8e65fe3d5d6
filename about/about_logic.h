// The decisions of the about window and the start-with-system prompt that
// need no window: the status request, its answer, and the Run value.
#pragma once

#include <optional>
#include <string>
#include <string_view>

inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "quenlid";
inline constexpr const char* kStartWithSystemQuestion = "是否将备忘条设置为开机启动？";

// "/pa?p=2:" + number + ":41".
std::string onlineStatusPath(long long contactNumber);
std::string chatLink(long long contactNumber);

// Online exactly when the answer's bytes at offsets 13 and 14 are B9 E2.
bool answerSaysOnline(std::string_view answer);

// The Run value that starts this executable: quoted when the path holds a
// space, so that no other program on a prefix of the path is started.
std::string runValueFor(std::string_view executablePath);

enum class StartWithSystemStep {
  kNothing,            // the value already starts this executable
  kAskWriteOnYes,      // no value: Yes writes it, No leaves it missing
  kAskWriteOrDelete,   // another value: Yes rewrites it, No deletes it
};

StartWithSystemStep startWithSystemStep(const std::optional<std::string>& existingValue,
                                        std::string_view executablePath);
