// The pending status message.
#pragma once

enum {
  MsgGenerated = 0,
  MsgTransformed = 1,
  MsgExportedMap = 2,
  MsgExportedObj = 3,
  MsgDefaultsLoaded = 4,
  MsgBlank = 5,  // 5, 6 and 7
  MsgScaledUp = 8,
  MsgTemplateLoaded = 9,
  MsgTemplateMissing = 10,
};

// Replaces Gmessage with the message of the code; code 8 also records the
// scale-down factor in last_transfactor.
void SetMessage(int code);
