#include "about/about_logic.h"

#include "about/about_config.h"
#include "memo/memo_store.h"

std::string onlineStatusPath(long long contactNumber) {
  return "/pa?p=2:" + integerToText(contactNumber) + ":41";
}

std::string chatLink(long long contactNumber) { return kChatLinkPrefix + integerToText(contactNumber); }

bool answerSaysOnline(std::string_view answer) { return answer.size() >= 15 && answer.substr(13, 2) == "\xB9\xE2"; }

std::string runValueFor(std::string_view executablePath) {
  std::string value(executablePath);
  if (value.find(' ') != std::string::npos) value = "\"" + value + "\"";
  return value;
}

StartWithSystemStep startWithSystemStep(const std::optional<std::string>& existingValue,
                                        std::string_view executablePath) {
  if (!existingValue) return StartWithSystemStep::kAskWriteOnYes;
  return *existingValue == runValueFor(executablePath) ? StartWithSystemStep::kNothing
                                                       : StartWithSystemStep::kAskWriteOrDelete;
}
