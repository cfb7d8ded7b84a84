#include "PromptOldModelReactor.h"

#include "DbDatabase.h"
#include "MainFrame.h"
#include "MsgBox.h"
#include "OldModelCheck.h"

PromptOldModelReactor::~PromptOldModelReactor()
{
    Detach();
}

void PromptOldModelReactor::OnDocumentOpened(DbDatabase*)
{
    if (!HasOldModel())
        return;
    MessageBoxA(dec::GetMainFrameHWnd(),
                "提示：图形上有4.0以下旧版本生成的日照建筑或窗口，请使用【旧模型转换】工具升级到新模型！",
                "发现旧版建筑、窗口", MB_OK | MB_ICONEXCLAMATION);
}

void PromptOldModelReactor::Attach(DbDatabase* db)
{
    if (!db || m_database)
        return;
    db->AddReactor(this);
    m_database = db;
}

void PromptOldModelReactor::Detach()
{
    if (!m_database)
        return;
    m_database->RemoveReactor(this);
    m_database = nullptr;
}
