#include "MsgBox.h"

#include <string>

#include "EventLog.h"

int msg_box(const char* text, const char* caption, unsigned int style)
{
    host::EventLog& log = host::EventLog::Instance();
    log.Call("msg_box style=" + std::to_string(style));
    log.Show(std::string("[") + (caption ? caption : "") + "] " + (text ? text : ""));
    return IDOK;
}
