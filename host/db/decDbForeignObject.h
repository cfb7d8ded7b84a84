#pragma once
// An object of a class this program does not know, read from a drawing file. It keeps the
// class name, the stored class version and the record's bytes, and writes them back
// unchanged when the drawing is saved again. It draws nothing and has no geometry.
#include <cstdint>
#include <string>
#include <vector>

#include "decDbEntity.h"

class decDbForeignObject : public decDbEntity {
    DEC_DECLARE_CLASS(decDbForeignObject)

public:
    decDbForeignObject() = default;
    decDbForeignObject(std::string className, unsigned classVersion, std::vector<std::uint8_t> record);

    const std::string& GetForeignClassName() const { return m_className; }
    unsigned GetForeignClassVersion() const { return m_classVersion; }
    const std::vector<std::uint8_t>& GetRecord() const { return m_record; }

    // Writes the kept bytes as they are (reading is done by the loader).
    void Serialize(SerializeFilter& filter) override;

private:
    std::string m_className;
    unsigned m_classVersion = 0;
    std::vector<std::uint8_t> m_record;
};
