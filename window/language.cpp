#include "window/language.h"

// The Romanian texts are written without diacritics, so that every code page shows them.
const LanguageTexts kRomanianTexts{
    L"Ai mai multe conturi de Yahoo? Le poti folosi pe toate, in acelasi timp. Tot ce trebuie "
    L"sa faci e sa dai click pe butonul Aplica Twinova!",
    L"Click pe buton pentru a aplica Twinova",
    L"Aplica Twinova",
    L"Romanian",
    L"Am terminat! Acum poti deschide aplicatia Yahoo Messenger de cate ori doresti!",
    L"Nu am reusit! Yahoo Messenger nu a putut fi setat sa se deschida de mai multe ori.",
    L"Minimizeaza",
    L"Inchide",
};

const LanguageTexts kEnglishTexts{
    L"You have more than one Yahoo accounts? You can use them all, in the same time. Just "
    L"click Apply button and open Yahoo Messenger!",
    L"Click the button to apply",
    L"Apply",
    L"English",
    L"Done! Now you can open Yahoo Messenger",
    L"Failed! Yahoo Messenger could not be set to open more than once.",
    L"Minimise",
    L"Close",
};
