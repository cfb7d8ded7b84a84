#include "NameQuestion.h"

#include "Input.h"

int AskNameOrClear(const char* prompt, CString& name, int& clear)
{
    while (true) {
        const int result = dec::GetString(prompt, name, 1);
        if (result == dex::eCancel || result == dex::eEnded)
            return 0;
        if (result == dex::eEmpty) {
            clear = 1;
            return 1;
        }
        if (!name.IsEmpty())
            return 1;
    }
}
