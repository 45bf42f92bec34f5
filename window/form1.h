#pragma once

#include "toolkit/form.h"
#include "window/language.h"

#include <string>

// The program's one window: a borderless panel drawn from its background picture, with the
// title, the explanation, the Apply and language buttons, the link and its own minimise and
// close buttons.
class Form1 : public toolkit::Form {
  public:
    // Creates the window, hidden, with its controls as designed.
    Form1();

    // "Romanian" or "English" once a language has been chosen; empty before.
    std::wstring CurrentLanguage;

    // Runs once before the window is first shown: sets its height, rounds its corners and
    // opens it in English.
    void Form_Load();
    // Runs when the window has been laid out again at another scale: rounds its new size.
    void Form_ScaleChanged();

    // Apply: lets Yahoo Messenger run several times at once, then tells the user whether it
    // worked, in the window's language.
    void Command1_Click();

    // RO: the Romanian texts. EN: the English texts.
    void Command2_Click();
    void Command3_Click();

    // Lets the user drag the window with the mouse through the system's own move loop.
    // Does nothing unless the window is in its normal state.
    void FormMove(Form1& form);

    // Controls, front to back. The push buttons and the scroll bar are child windows and lie
    // in front of the painted labels and image.
    toolkit::PushButton& Command3;
    toolkit::PushButton& Command2;
    toolkit::ScrollBar& scrlSmooth;
    toolkit::PushButton& Command1;
    toolkit::Label& Label7;
    toolkit::Label& lbValue;
    toolkit::Label& Label6;
    toolkit::Label& Label5;
    toolkit::Label& Label4;
    toolkit::Image& Image1;
    toolkit::Label& Label3;
    toolkit::Label& Label2;
    toolkit::Label& Label1;

  private:
    void ApplyLanguage(const LanguageTexts& texts);
    void Label3_Click();
    void Label4_Click();
    void Label5_Click();
};
