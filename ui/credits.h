#pragma once

// Who made the game, with the game's home page as a link; the opening cutscene can be
// watched again from here.
void CreditsEntry();
void CreditsUpdate();

// The home page the AppStream metadata names too (dist/org.quillmere.Quillmere.metainfo.xml).
inline constexpr const char* kCreditsHomePage = "https://quillmere.org/";
inline constexpr const char* kCreditsHomePageCaption = "quillmere.org";
