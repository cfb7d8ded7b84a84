#pragma once
// The audits of the model before an analysis: inqbuild (建筑查询) shows what is not yet part
// of a named building and, building by building, what bears a picked building's name;
// showunname (显示未命名建筑) hides all but what still lacks a building name; chkbld
// (检查未命名建筑) and chkwin (检查未指定所属关系窗) show the unnamed buildings and the
// windows without a building. They change only the selection and, for showunname, what is
// hidden.
//
// Two tests for a missing name are kept apart on purpose: inqbuild and showunname look at the
// name text, so a tag holding an empty name counts as unnamed; chkbld asks BuildName, which
// counts any tag as a name.
#include "CString.h"
#include "EntityArray.h"

// Replaces same by the buildings (not windows) whose name equals name, case-sensitively, in
// drawing order. 1 when any.
int GetSameBuild(const CString& name, EntityArray& same);

// The bodies of chkbld and chkwin.
void CheckUnnamedBuild();
void CheckUnownedWindow();
