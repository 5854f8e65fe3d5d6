// Deployment values of the about window, kept in one place.
#pragma once

inline constexpr long long kSupportContactNumber = 10000;
inline constexpr const char* kStatusServiceHost = "status.example.com";
// The messenger's own link scheme, opening a chat with the contact's number.
inline constexpr const char* kChatLinkPrefix = "chat://message/?contact=";
inline constexpr const char* kProductPage = "https://www.example.com/memo-strip";
