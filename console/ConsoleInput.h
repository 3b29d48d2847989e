// Console input shared by every menu and prompt. A choice is the next
// non-blank character, a name the next word, a number the next value, so what
// the user types ahead on one line is consumed by the following prompts.
#pragma once

#include <string>

// Thrown when the console input has ended while the program waits for a
// choice, a word or a number; main ends the program cleanly.
struct ConsoleEnded {};

// The next non-blank character.
char ReadChoice();
// The next word.
std::string ReadWord();
// Prints the prompt line and reads a whole number; a value that cannot be
// read (not a number, or too large for an int) prints a warning, discards the
// rest of the typed line and prints the prompt again.
int AskInt(const std::string& prompt);
// As AskInt for a float; values beyond the float range are refused too.
float AskFloat(const std::string& prompt);
// Waits for one key without echo and without Enter; returns at once at the
// end of the input.
void getch();

// The lower level of AskInt and AskFloat: false when the next value cannot be
// read, after the rest of the line has been discarded.
bool TryReadInt(int& value);
bool TryReadFloat(float& value);
// The warning printed for a value that cannot be read.
extern const std::string warn_invnumber;
