#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "settings/Message.h"
#include "settings/Settings.h"
#include "settings/Shape.h"
#include "support/GlobalState.h"

using MessageTest = ResetSettingsTest;

TEST_F(MessageTest, SingleLineMessages) {
  struct Case {
    int code;
    const char* text;
  };
  const Case cases[] = {
      {MsgGenerated, "  | [INFO] Hollow Torus generated\n"},
      {MsgTransformed, "  | [INFO] Transformation applied\n"},
      {MsgExportedMap, "  | [INFO] Hollow Torus exported as MAP-File\n"},
      {MsgExportedObj, "  | [INFO] Hollow Torus exported as OBJ-File\n"},
      {MsgDefaultsLoaded, "  | [INFO] Default Settings loaded\n"},
      {5, "  | [INFO] \n"},
      {6, "  | [INFO] \n"},
      {7, "  | [INFO] \n"},
      {MsgTemplateMissing, "  | [INFO] File \"arch1\" not available...\n"},
      {11, "  | [INFO] "},
      {-1, "  | [INFO] "},
      {1000, "  | [INFO] "},
  };
  SetShape(htorus);
  cfname = "arch1";
  for (const Case& c : cases) {
    Gmessage = "  | [INFO] previous\n";
    SetMessage(c.code);
    EXPECT_EQ(Gmessage, c.text) << "code " << c.code;
  }
  EXPECT_EQ(last_transfactor, 0.0f);  // only code 8 records a factor
}

TEST_F(MessageTest, ShapeIsNamedWhenTheMessageIsPosted) {
  SetShape(arch);
  SetMessage(MsgGenerated);
  SetShape(sphere);
  EXPECT_EQ(Gmessage, "  | [INFO] Arch generated\n");
  SetMessage(MsgExportedObj);
  EXPECT_EQ(Gmessage, "  | [INFO] Sphere exported as OBJ-File\n");
}

TEST_F(MessageTest, ScaledUpGivesCountAndFactorAndRecordsTheFactor) {
  struct Case {
    int deci;
    const char* count;
    const char* factor;
  };
  const Case cases[] = {
      {0, "0", "1.000000"},     {1, "1", "0.500000"},   {3, "3", "0.125000"},
      {7, "7", "0.007812"},  // 0.0078125 printed with six decimals
      {20, "20", "0.000001"},   {200, "200", "0.000000"},
  };
  for (const Case& c : cases) {
    CurrentDeci = c.deci;
    SetMessage(MsgScaledUp);
    EXPECT_EQ(Gmessage, std::string("  | [INFO] Size of the model was doubled (") + c.count +
                            ") times\n  |        To regain its original size later, scale it "
                            "down by [" +
                            c.factor + "]\n")
        << c.deci;
    EXPECT_EQ(last_transfactor, static_cast<float>(std::ldexp(1.0, -c.deci))) << c.deci;
    EXPECT_EQ(CurrentDeci, c.deci);  // the sub menu clears it afterwards
  }
}

TEST_F(MessageTest, TemplateLoadedAddsAutomodeLinesOnlyInBatchModeWithMenu) {
  const std::string loaded = "  | [INFO] Settings from template file (arch1.kvt) loaded...\n";
  const std::string automode =
      "  |        Automode is NOT active, you can act like normal.\n"
      "  |        To process the next template file, go back to main menu.\n";
  struct Case {
    bool dragAndDrop;
    bool nomenu;
    bool automodeLines;
  };
  const Case cases[] = {{false, false, false}, {true, false, true}, {true, true, false},
                        {false, true, false}};
  cfname = "arch1";
  for (const Case& c : cases) {
    DragAndDrop = c.dragAndDrop;
    nomenu = c.nomenu;
    SetMessage(MsgTemplateLoaded);
    EXPECT_EQ(Gmessage, c.automodeLines ? loaded + automode : loaded)
        << "DragAndDrop " << c.dragAndDrop << " nomenu " << c.nomenu;
  }
}

TEST_F(MessageTest, TemplateLoadedNamesTheObjectNotTheFile) {
  cfname = "tube";
  SetMessage(MsgTemplateLoaded);
  EXPECT_EQ(Gmessage, "  | [INFO] Settings from template file (tube.kvt) loaded...\n");
}
