#!/usr/bin/env bash
# Installs what building and testing Korvane needs on a Debian machine:
# cmake, g++ with 32-bit support (g++-multilib) and GoogleTest's sources; and
# where the kernel does not run 32-bit x86 executables, the user-mode emulator
# (qemu-user) that runs them in the tests.
#   --no-32   without 32-bit support
#   --fuzz    also clang with the libFuzzer and sanitizer runtimes (scripts/fuzz.sh)
set -euo pipefail

no32=false
fuzz=false
for arg in "$@"; do
  case "$arg" in
    --no-32) no32=true ;;
    --fuzz) fuzz=true ;;
    *) echo "Korvane setup: unknown option $arg" >&2; exit 2 ;;
  esac
done

have_m32() {
  echo 'int main(){return 0;}' | g++ -m32 -x c++ - -o /tmp/korvane-m32-check 2>/dev/null
}

# Whether the kernel runs the 32-bit executable that have_m32 built, or else
# the emulator does.
runs_m32() { /tmp/korvane-m32-check 2>/dev/null; }
emulates_m32() { command -v qemu-i386 >/dev/null 2>&1 && qemu-i386 -L / /tmp/korvane-m32-check 2>/dev/null; }

# Links a fuzz target with clang's libFuzzer, AddressSanitizer and UBSan.
have_fuzzer() {
  echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' |
    clang++ -fsanitize=fuzzer,address,undefined -x c++ - -o /tmp/korvane-fuzzer-check 2>/dev/null
}

missing=()
command -v cmake >/dev/null 2>&1 || missing+=(cmake)
command -v g++ >/dev/null 2>&1 || missing+=(g++)
command -v make >/dev/null 2>&1 || missing+=(make)
[ -f /usr/src/googletest/googletest/src/gtest-all.cc ] || missing+=(googletest)
if ! $no32; then
  if ! command -v g++ >/dev/null 2>&1 || ! have_m32; then missing+=(g++-multilib); fi
fi
if $fuzz; then
  command -v clang++ >/dev/null 2>&1 || missing+=(clang)
  # The runtimes (libclang_rt.fuzzer and the sanitizers) of the default clang.
  if ! command -v clang++ >/dev/null 2>&1 || ! have_fuzzer; then missing+=(libclang-rt-dev); fi
fi

# Installs the packages, as root through apt-get.
install_packages() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "Korvane setup: these packages are missing: $*" >&2
    echo "Install them as root: apt-get install $*" >&2
    exit 1
  fi
  if ! command -v apt-get >/dev/null 2>&1; then
    echo "Korvane setup: apt-get not found; install $* by hand." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  if ! $updated; then
    apt-get update -qq || { echo "Korvane setup: apt-get update failed." >&2; exit 1; }
    updated=true
  fi
  apt-get install -y -qq "$@" >/dev/null || {
    echo "Korvane setup: could not install $*." >&2
    exit 1
  }
}
updated=false

if [ ${#missing[@]} -gt 0 ]; then
  echo "Korvane setup: installing ${missing[*]}"
  install_packages "${missing[@]}"
  if ! $no32 && ! have_m32; then
    echo "Korvane setup: g++ -m32 still does not work after installing g++-multilib." >&2
    exit 1
  fi
  if $fuzz && ! have_fuzzer; then
    echo "Korvane setup: clang++ -fsanitize=fuzzer still does not link after installing clang and libclang-rt-dev." >&2
    exit 1
  fi
fi

if ! $no32 && ! runs_m32 && ! emulates_m32; then
  echo "Korvane setup: this kernel does not run 32-bit x86 executables; installing qemu-user to run them in the tests"
  install_packages qemu-user
  if ! emulates_m32; then
    echo "Korvane setup: qemu-i386 still does not run 32-bit executables after installing qemu-user." >&2
    exit 1
  fi
fi
