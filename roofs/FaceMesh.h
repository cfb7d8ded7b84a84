#pragma once
// The mesh of a roof object made of separate faces: every face's points go to consecutive
// vertices of their own (no vertex is shared between faces), and every face of at least
// minPoints points becomes one polygon over them, in the order of the faces.
#include <cstddef>
#include <vector>

#include "Ge.h"
#include "decMesh3.h"

template <class Faces>
decMesh3* MeshOfFaces(const Faces& faces, std::size_t minPoints)
{
    std::size_t total = 0;
    for (const GePoint3dArray& face : faces)
        total += face.size();
    auto* mesh = new decMesh3();
    GePoint3d* vertices = mesh->SetCountVertex(static_cast<int>(total));
    decPolygonBuf polygons(1024);
    int next = 0;
    std::vector<int> indices;
    for (const GePoint3dArray& face : faces) {
        indices.clear();
        for (const GePoint3d& p : face) {
            vertices[next] = p;
            indices.push_back(next++);
        }
        if (!indices.empty() && indices.size() >= minPoints)
            polygons.AppendPolygon(static_cast<int>(indices.size()), indices.data(), 0, 0);
    }
    mesh->SetPolygonFrom(polygons);
    return mesh;
}
