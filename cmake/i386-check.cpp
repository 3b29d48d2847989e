// Built with -m32 when the project is configured: whether this machine (or
// the emulator named for it) runs 32-bit x86 executables.
int main() { return sizeof(void*) == 4 ? 0 : 1; }
