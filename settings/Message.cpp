#include "settings/Message.h"

#include <cstdio>
#include <string>

#include "settings/Settings.h"
#include "settings/Shape.h"

namespace {

const char* const kPrefix = "  | [INFO] ";
// Continuation lines line up under the text of the first line.
const char* const kIndent = "  |        ";

// The scale-down factor after the model was doubled CurrentDeci times:
// 1.0 halved once per doubling, in single precision.
float ScaleDownFactor() {
  float factor = 1.0f;
  for (int i = 0; i < CurrentDeci; ++i) factor = factor / 2.0f;
  return factor;
}

std::string ScaledUpText() {
  last_transfactor = ScaleDownFactor();
  char count[16];
  char factor[64];
  std::snprintf(count, sizeof count, "%d", CurrentDeci);
  std::snprintf(factor, sizeof factor, "%f", static_cast<double>(last_transfactor));
  return std::string("Size of the model was doubled (") + count + ") times\n" + kIndent +
         "To regain its original size later, scale it down by [" + factor + "]\n";
}

std::string TemplateLoadedText() {
  std::string text = "Settings from template file (" + cfname + ".kvt) loaded...\n";
  if (DragAndDrop && !nomenu) {
    text += std::string(kIndent) + "Automode is NOT active, you can act like normal.\n";
    text += std::string(kIndent) + "To process the next template file, go back to main menu.\n";
  }
  return text;
}

std::string MessageText(int code) {
  switch (code) {
    case MsgGenerated: return brushname() + " generated\n";
    case MsgTransformed: return "Transformation applied\n";
    case MsgExportedMap: return brushname() + " exported as MAP-File\n";
    case MsgExportedObj: return brushname() + " exported as OBJ-File\n";
    case MsgDefaultsLoaded: return "Default Settings loaded\n";
    case MsgBlank:  // 5, 6 and 7 are blank
    case 6:
    case 7: return "\n";
    case MsgScaledUp: return ScaledUpText();
    case MsgTemplateLoaded: return TemplateLoadedText();
    case MsgTemplateMissing: return "File \"" + cfname + "\" not available...\n";
    default: return std::string();
  }
}

}  // namespace

void SetMessage(int code) { Gmessage = kPrefix + MessageText(code); }
