#pragma once
// The host's own commands, by family. Each registers its commands in the command table.
namespace host {

void RegisterDrawingCommands();   // pline, arc, circle, point, text, extrude
void RegisterEditCommands();      // erase, move, rotate
void RegisterInquiryCommands();   // list, props, setprop
void RegisterSettingsCommands();  // layer, setvar, getvar
void RegisterFileCommands();      // new, open, save, export obj and svg
void RegisterHelpCommand();       // help
void RegisterWindowsCommand();    // windows
void RegisterOrvRoofCommand();    // orvroof
void RegisterAnalysisGroupsCommand();  // analysisgroups
void RegisterMultiSlopeCommand(); // multislope
void RegisterGroupsCommand();     // groups

}  // namespace host
