#include "MessageMap.h"

namespace host::mfc {

namespace {

bool Matches(const MessageMapEntry& e, const Message& m)
{
    if (e.message != m.message) return false;
    if (m.message != WM_COMMAND) return true;
    return e.code == m.code && m.id >= e.firstId && m.id <= e.lastId;
}

}  // namespace

MessageHandler FindHandler(const MessageMap* map, const Message& message)
{
    for (; map; map = map->base ? map->base() : nullptr)
        for (const MessageMapEntry* e = map->entries; e && e->message != 0; ++e)
            if (Matches(*e, message)) return e->handler;
    return nullptr;
}

}  // namespace host::mfc

const host::mfc::MessageMap* CCmdTarget::GetThisMessageMap()
{
    static const host::mfc::MessageMapEntry entries[] = {{0, 0, 0, 0, nullptr}};
    static const host::mfc::MessageMap map = {nullptr, entries};
    return &map;
}

bool CCmdTarget::Dispatch(const host::mfc::Message& message)
{
    const host::mfc::MessageHandler handler = host::mfc::FindHandler(GetMessageMap(), message);
    if (!handler) return false;
    handler(this, message);
    return true;
}
