#include "settings/Message.h"

#include "settings/Settings.h"

void SetMessage(int code) { Gmessage = "  | [INFO] " + std::to_string(code) + "\n"; }
