// Console input shared by every menu and prompt. A choice is the next
// non-blank character, a name the next word, a number the next value, so what
// the user types ahead on one line is consumed by the following prompts.
//
// The end of the input is final: every read after it reports it again, so a
// menu takes it as its key for leaving and a prompt keeps the value it would
// have changed; nothing waits or asks again once the input has ended.
#pragma once

#include <string>

// The next non-blank character; false when the input has ended.
bool ReadChoice(char& key);
// The next word; false, with word unchanged, when the input ends before one.
bool ReadWord(std::string& word);
// Prints the prompt line and reads a whole number into value; a value that
// cannot be read (not a number, or too large for an int) prints a warning,
// discards the rest of the typed line and prints the prompt again. False,
// with value unchanged, when the input ends before a number is read.
bool AskInt(const std::string& prompt, int& value);
// As AskInt for a float; values beyond the float range are refused too.
bool AskFloat(const std::string& prompt, float& value);
// As AskFloat for a texture scale: 0 would shrink the texture to nothing and
// divide the wrapping by zero, so it is refused with warn_zeroscale and asked
// for again.
bool AskTextureScale(const std::string& prompt, float& value);
// Waits for one key without echo and without Enter; returns at once at the
// end of the input, also when it was typed at a terminal (Ctrl-D). On a
// terminal a key that sends several bytes (arrow and function keys, letters
// that UTF-8 writes in several bytes) is taken whole.
void getch();

// The warning printed for a value that cannot be read.
extern const std::string warn_invnumber;
// The warning printed for a texture scale of 0.
extern const std::string warn_zeroscale;
