#include "OsmSample.h"

#include <iconv.h>

#include <cstdlib>

std::string ToGbk(const std::string& utf8)
{
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        std::abort();
    std::string in = utf8;
    std::string out(in.size() * 2 + 4, '\0');
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        std::abort();
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

std::string OsmSampleText()
{
    // Millimetres, east of the demo site. Vertex lines alternate with bulge lines ("b,"): the
    // bulge is the arc's included angle in radians, positive counter-clockwise.
    const char* const lines[] = {
        "5",
        // A plain block in group 一区 that owns window 1 of floor 1.
        "甲楼,0,30000", "8",
        "100000,-60000,0", "0,", "120000,-60000,0", "0,", "120000,-48000,0", "0,", "100000,-48000,0", "0,",
        "一区,1,1",
        // Counter-clockwise, its east edge an arc bowing outwards.
        "乙楼,0,45000", "8",
        "130000,-60000,0", "0,", "150000,-60000,0", "1.2,", "150000,-48000,0", "0,", "130000,-48000,0", "0,",
        "一区,0,0",
        // Drawn clockwise on a 3 m podium, its north edge an arc: read counter-clockwise.
        "丙楼,3000,24000", "8",
        "100000,-40000,0", "0,", "100000,-30000,0", "-1,", "115000,-30000,0", "0,", "115000,-40000,0", "0,",
        "二区,0,0",
        // A block hanging from 12 m, swept downwards: a tagged extrusion, not a building entity.
        "丁楼,0,12000", "8",
        "130000,-40000,12000", "0,", "140000,-40000,12000", "0,", "140000,-30000,12000", "0,",
        "130000,-30000,12000", "0,",
        "normal", "0,0,-1",
        "二区,0,0",
        // Height 0: refused.
        "坏楼,0,0", "6", "160000,-60000,0", "0,", "170000,-60000,0", "0,", "170000,-50000,0", "0,", ",0,0",
        "",
        "5",
        // South facade of 甲楼, facing angle 0: 1500 × 1800 millimetres.
        "1,1,101,甲楼,1500,1800,", "109250,-60000,900,0",
        // 1.2 × 1.5: metres (the width is under 49.5).
        "2,1,102,甲楼,1.2,1.5,", "112,-60,0.9,0",
        // A negative width: 900 wide, the origin 450 the other way.
        "3,1,103,甲楼,-900,1500,", "116450,-60000,900,0",
        // East facade, facing a quarter turn on.
        "4,1,104,甲楼,1500,1800,", "120000,-54750,900,1.5707963267948966",
        "1,2,201,乙楼,1500,1800,", "139250,-60000,3900,0",
    };
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return ToGbk(text);
}
