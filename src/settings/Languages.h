#pragma once

// The languages the windows speak besides the desktop's choice, as the
// setting LANGUAGE stores them, each with its name in itself (never
// translated: a user who cannot read the current language still finds
// their own). Norwegian is the language of the texts in the code; English
// and German are translations of them.
struct Language
{
    const char* code;
    const char* name;
};

inline constexpr const char* kNorwegian = "nb";

inline constexpr Language kLanguages[] = {
    {kNorwegian, "Norsk"},
    {"en", "English"},
    {"de", "Deutsch"},
};
