#pragma once

class QKeyEvent;
class QWidget;

// A letter held with Alt (or Meta) is a command, never a character. The bound chords (access
// letters, menus) are taken as shortcuts before any widget sees the key, so one that reaches a
// widget is bound to nothing.
bool IsAltChord(const QKeyEvent& event);

// Makes a text widget refuse the Alt chords that reach it with a beep instead of typing them.
void RefuseAltChords(QWidget* edit);
