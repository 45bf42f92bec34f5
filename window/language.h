#pragma once

// The texts that follow the window's language: the explanation, the instruction, the Apply
// button's caption, the language's name as the window records it, and what Apply says when it
// has worked and when it has failed (the system's description of the failure follows).
struct LanguageTexts {
    const wchar_t* explanation;
    const wchar_t* instruction;
    const wchar_t* applyCaption;
    const wchar_t* name;
    const wchar_t* applyDone;
    const wchar_t* applyFailed;
};

extern const LanguageTexts kRomanianTexts;
extern const LanguageTexts kEnglishTexts;
