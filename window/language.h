#pragma once

// The texts that follow the window's language: the explanation, the instruction, the Apply
// button's caption and the language's name as the Apply confirmation reads it.
struct LanguageTexts {
    const wchar_t* explanation;
    const wchar_t* instruction;
    const wchar_t* applyCaption;
    const wchar_t* name;
};

extern const LanguageTexts kRomanianTexts;
extern const LanguageTexts kEnglishTexts;
