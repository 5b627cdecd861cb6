#pragma once
// Keeps characters that an XML file cannot hold out of the edit controls.
//
// A control character pasted into a field (U+0001..U+001F other than tab,
// LF and CR, also U+FFFE, U+FFFF and unpaired surrogates) is dropped the
// moment it is entered, so the control always shows what will be saved.

#include <QString>
#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace mirandel {

// Drops such characters from what the user types or pastes into `edit`.
void dropNonXmlCharacters(QLineEdit *edit);
void dropNonXmlCharacters(QPlainTextEdit *edit);

// Calls `shown` with every widget shown directly inside `viewport` (a
// grid's cell editors, created on demand), once it is fully built. The
// watch lives as long as `viewport`.
void onEditorShown(QWidget *viewport, std::function<void(QWidget *)> shown);

// Drops such characters in every line edit, editable combo box and
// plain-text edit shown inside `viewport` (a grid's cell editors).
void dropNonXmlCharactersInEditors(QWidget *viewport);

// The line break of the platform's clipboard text: CR LF on Windows, LF
// elsewhere. A new multi-line text takes this style.
QString platformLineBreak();

} // namespace mirandel
