// The signals whose default action ends the program, with or without a core
// dump: everything that must be cleaned up before the program goes (a
// temporary file, the terminal's settings) is cleaned up for each of them.
// SIGKILL and SIGSTOP cannot be caught and are not among them. The fault
// signals are: a program that dies of one leaves nothing behind either.
// SIGPIPE and SIGXFSZ are ignored from start-up (a closed output and the file
// size limit fail a write instead), and a signal that is ignored stays
// ignored wherever these are handled.
#pragma once

#include <signal.h>

inline constexpr int kEndingSignals[] = {
    SIGHUP,  SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT,   SIGBUS,  SIGFPE,  SIGUSR1, SIGSEGV,
    SIGUSR2, SIGPIPE, SIGALRM, SIGTERM, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGSYS,
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
};

// The most signals ForEachEndingSignal calls fn with.
inline constexpr int kMostEndingSignals = sizeof kEndingSignals / sizeof kEndingSignals[0] + 33;

// Calls fn with every ending signal: the list above and the real-time
// signals, which end the program too.
template <typename Fn>
void ForEachEndingSignal(Fn fn) {
  for (const int sig : kEndingSignals) fn(sig);
  for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig) fn(sig);
}
