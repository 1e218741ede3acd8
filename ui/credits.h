#pragma once

// Who made the game, with our web page and mail address as links.
void CreditsEntry();
void CreditsUpdate();

inline constexpr const char* kCreditsWebAddress = "https://quillmere.example/";
inline constexpr const char* kCreditsMailAddress = "keepers@quillmere.example";
