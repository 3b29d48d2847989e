#include "export/TemporaryFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

namespace {

const int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};
constexpr int kEndingSignalCount = sizeof kEndingSignals / sizeof kEndingSignals[0];

// A registered file: its directory and its name, prepared before the file is
// created, so that the handler only calls unlinkat.
struct Slot {
  int directory = -1;
  char name[kTemporaryNameMax + 1] = {};
  bool used = false;
};

// Changed only while the signals are held back, so the handler never sees a
// slot half written.
Slot slots[kTemporarySlots];
int usedSlots = 0;
struct sigaction previous[kEndingSignalCount];
bool installed[kEndingSignalCount] = {};

sigset_t EndingSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (const int sig : kEndingSignals) sigaddset(&set, sig);
  return set;
}

// Removes every registered file, then ends the program with the signal's
// default action. unlinkat, signal and raise are async-signal-safe.
extern "C" void RemoveTemporariesAndRaise(int sig) {
  for (const Slot& slot : slots)
    if (slot.used) unlinkat(slot.directory, slot.name, 0);
  signal(sig, SIG_DFL);
  raise(sig);  // delivered with the default action once the handler returns
}

void InstallHandlers() {
  struct sigaction remove = {};
  remove.sa_handler = RemoveTemporariesAndRaise;
  remove.sa_mask = EndingSignals();
  for (int i = 0; i < kEndingSignalCount; ++i) {
    sigaction(kEndingSignals[i], nullptr, &previous[i]);
    // An ignored signal stays ignored; a handler someone else set stays too.
    installed[i] = previous[i].sa_handler == SIG_DFL && sigaction(kEndingSignals[i], &remove, nullptr) == 0;
  }
}

void RestoreHandlers() {
  for (int i = 0; i < kEndingSignalCount; ++i) {
    if (installed[i]) sigaction(kEndingSignals[i], &previous[i], nullptr);
    installed[i] = false;
  }
}

}  // namespace

SignalBlock::SignalBlock() {
  const sigset_t ending = EndingSignals();
  sigprocmask(SIG_BLOCK, &ending, &previous);
}

SignalBlock::~SignalBlock() { sigprocmask(SIG_SETMASK, &previous, nullptr); }

int RegisterTemporary(int directory, const char* name) {
  if (std::strlen(name) > static_cast<size_t>(kTemporaryNameMax)) return -1;
  for (int i = 0; i < kTemporarySlots; ++i) {
    Slot& slot = slots[i];
    if (slot.used) continue;
    if (usedSlots == 0) InstallHandlers();
    slot.directory = directory;
    std::strcpy(slot.name, name);
    slot.used = true;
    ++usedSlots;
    return i;
  }
  return -1;
}

void ForgetTemporary(int slot) {
  if (slot < 0 || slot >= kTemporarySlots || !slots[slot].used) return;
  slots[slot].used = false;
  if (--usedSlots == 0) RestoreHandlers();
}
