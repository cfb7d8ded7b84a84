#include "decLayerTable.h"

#include <string>

#include "EventLog.h"

DEC_IMPLEMENT_CLASS(decLayerTable, decObject, "图层表", 1)

decLayerTable::decLayerTable()
{
    m_current = CreateNewLayer("0", 0xFFFFFF)->GetID();
}

decLayer* decLayerTable::SearchLayer(const char* name) const
{
    if (!name) return nullptr;
    for (const auto& layer : m_layers)
        if (std::string_view(layer->GetName()) == name) return layer.get();
    return nullptr;
}

decLayer* decLayerTable::GetLayer(long id) const
{
    for (const auto& layer : m_layers)
        if (layer->GetID() == id) return layer.get();
    return nullptr;
}

decLayer* decLayerTable::CreateLayer(const char* name, const Q3dColor& colour, int style, const char* lineType)
{
    if (!name || !*name) return nullptr;
    if (decLayer* existing = SearchLayer(name)) return existing;
    host::EventLog::Instance().Call(std::string("CreateLayer ") + name + " style " + std::to_string(style));
    m_layers.push_back(std::make_unique<decLayer>(m_nextId++, name, colour.GetColor(), style,
                                                  lineType ? lineType : "Continuous", true));
    return m_layers.back().get();
}

decLayer* decLayerTable::CreateNewLayer(const char* name, std::uint32_t colour)
{
    return CreateLayer(name, Q3dColor(colour), 0, "Continuous");
}

void decLayerTable::SetCurrentLayerID(long id, int a, int b)
{
    host::EventLog::Instance().Call("SetCurrentLayerID " + std::to_string(id) + " " + std::to_string(a) + " " +
                                    std::to_string(b));
    if (GetLayer(id)) m_current = id;
}

decLayer* decLayerTable::Restore(long id, std::string name, std::uint32_t colour, int style, std::string lineType,
                                 bool visible)
{
    m_layers.push_back(std::make_unique<decLayer>(id, std::move(name), colour, style, std::move(lineType), visible));
    if (id >= m_nextId) m_nextId = id + 1;
    return m_layers.back().get();
}
