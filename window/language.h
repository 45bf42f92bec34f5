#pragma once

// The texts that follow the window's language: the explanation, the instruction, the Apply
// button's caption, the language's name as the Apply confirmation reads it, and the names
// screen readers give the painted minimise and close buttons.
struct LanguageTexts {
    const wchar_t* explanation;
    const wchar_t* instruction;
    const wchar_t* applyCaption;
    const wchar_t* name;
    const wchar_t* minimiseName;
    const wchar_t* closeName;
};

extern const LanguageTexts kRomanianTexts;
extern const LanguageTexts kEnglishTexts;
