#pragma once
// Template 1098 "标注建筑标高选项": the style dialog of the building elevation label.

// Adds (or puts back) the template in the resources; done once when the module is loaded.
void RegisterDimBuildElevationDlgTemplate();
