#pragma once
// Layers of a drawing. The table is itself an object: callers open it for write around
// changes. Layer ids start at 1; a new drawing has layer "0" (id 1), current.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Q3dColor.h"
#include "decObject.h"

class decLayer {
public:
    decLayer(long id, std::string name, std::uint32_t colour, int style, std::string lineType, bool visible)
        : m_id(id), m_name(std::move(name)), m_colour(colour), m_style(style), m_lineType(std::move(lineType)),
          m_visible(visible)
    {
    }

    long GetID() const { return m_id; }
    long GetLayerId() const { return m_id; }
    const char* GetName() const { return m_name.c_str(); }
    std::uint32_t GetColor() const { return m_colour; }
    void SetColor(std::uint32_t colour) { m_colour = colour & 0xFFFFFFu; }
    int IsVisible() const { return m_visible ? 1 : 0; }
    void SetVisible(int visible) { m_visible = visible != 0; }
    int GetStyle() const { return m_style; }
    const char* GetLineType() const { return m_lineType.c_str(); }

private:
    long m_id;
    std::string m_name;
    std::uint32_t m_colour;
    int m_style;
    std::string m_lineType;
    bool m_visible;
};

class decLayerTable : public decObject {
    DEC_DECLARE_CLASS(decLayerTable)

public:
    decLayerTable();

    // The layer of that exact name, or null.
    decLayer* SearchLayer(const char* name) const;
    decLayer* GetLayer(long id) const;
    // A new layer (or the existing one of that name, unchanged); null for an empty name.
    decLayer* CreateLayer(const char* name, const Q3dColor& colour, int style, const char* lineType);
    decLayer* CreateNewLayer(const char* name, std::uint32_t colour);

    long GetCurrentLayerID() const { return m_current; }
    // Makes a layer current; an unknown id is refused (the current layer stays). The two
    // flags are the host's and recorded.
    void SetCurrentLayerID(long id, int a = 1, int b = 1);

    int GetCount() const { return static_cast<int>(m_layers.size()); }
    const std::vector<std::unique_ptr<decLayer>>& Layers() const { return m_layers; }

    // For the drawing loader: a layer with a stored id, and the current layer.
    decLayer* Restore(long id, std::string name, std::uint32_t colour, int style, std::string lineType, bool visible);
    void RestoreCurrent(long id) { m_current = id; }
    void Clear() { m_layers.clear(); m_current = 0; m_nextId = 1; }
    // Exchanges the layers with another table (a drawing read from a file takes over).
    void Swap(decLayerTable& other)
    {
        std::swap(m_layers, other.m_layers);
        std::swap(m_current, other.m_current);
        std::swap(m_nextId, other.m_nextId);
    }

private:
    std::vector<std::unique_ptr<decLayer>> m_layers;
    long m_current = 0;
    long m_nextId = 1;
};
