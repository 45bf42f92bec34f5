#pragma once

// The texts that follow the window's language: the explanation, the instruction, the Apply
// button's caption, the language's name as the window records it, what Apply says when it has
// worked and when it has failed (the system's description of the failure follows), and the
// names screen readers give the painted minimise and close buttons.
struct LanguageTexts {
    const wchar_t* explanation;
    const wchar_t* instruction;
    const wchar_t* applyCaption;
    const wchar_t* name;
    const wchar_t* applyDone;
    const wchar_t* applyFailed;
    const wchar_t* minimiseName;
    const wchar_t* closeName;
};

extern const LanguageTexts kRomanianTexts;
extern const LanguageTexts kEnglishTexts;
