#pragma once
// Completes a window for keyboard and screen-reader users, once, before its first showing:
//  - a label standing just before a field in the same layout, and bound to none, is bound to it
//    (its mnemonic then moves the focus to the field, and readers name the field by it);
//  - a list or table takes its name from its label, as Qt does for the other fields;
//  - each label bound to a field, each button, check box and radio button without a mnemonic
//    gets one: the first letter of a word that no other control of the window uses, else any
//    unused letter. OK, Cancel and Help of a button box answer to Enter, Escape and F1 instead;
//  - a read-only line edit leaves the tab order.
// Mnemonics written into a text stay as they are. Each page of a stacked widget is a window of its
// own that shares the mnemonics of the controls around the stack.

class QChar;
class QString;
class QWidget;

namespace orv {

void completeKeyboardAccess(QWidget* window);
// The letter a text's "&" marks (lower case), or a null character; "&&" is a plain "&".
QChar mnemonicOf(const QString& text);

} // namespace orv
