#pragma once
// The host's MFC subset in one include: windows, dialogs and their controls, data exchange,
// message maps, the application object, files and the font list.
#include "CArray.h"
#include "CString.h"
#include "Controls.h"
#include "DataExchange.h"
#include "DeviceContext.h"
#include "Dialog.h"
#include "DialogTemplate.h"
#include "FileDialog.h"
#include "FontList.h"
#include "MessageMap.h"
#include "StdioFile.h"
#include "WinApp.h"
#include "WinTypes.h"
#include "Wnd.h"
