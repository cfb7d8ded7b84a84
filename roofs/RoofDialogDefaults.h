#pragma once
// The values of the last roof the roof command went on to build, which seed its dialog each
// time it opens; kept until the module is unloaded. Only the dialog's SaveDefaults writes
// them and only its initialisation reads them; a cancelled dialog leaves them as they are.

struct RoofDialogDefaults {
    int roofKind = 0;  // 0 flat, 1 multi-slope
    float overhang = 0.0f;
    float thickness = 200.0f;
    // The general slope in degrees, as its text read as a number.
    float slope = 0.0f;
    int parapet = 0;
    float parapetHeightA = 0.0f;
    float parapetHeightB = 0.0f;
    float parapetWidthA = 0.0f;
    float parapetWidthB = 0.0f;
};

extern RoofDialogDefaults g_roofDialogDefaults;
