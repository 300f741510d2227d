#pragma once
// Realistic turned parts drawn at random from a seed: stepped shafts with
// chamfers, fillets, rounds, coves, tapers and grooves; bores with internal
// steps, down to the axis when blind; flanged faces. Each part comes as its
// half-profile in cycle coordinates, in machining order, with the closed
// region of the finished part and a start point beside it.
#include "verify_geometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zeran::verify {

enum class PartKind { Shaft, Bore, Face };

struct Groove {
    std::vector<Piece> pieces; // the groove alone (walls and bottom), machining order
    bool square = true;        // straight walls and a flat bottom
};

struct Part {
    std::string name;
    PartKind kind = PartKind::Shaft;
    std::uint8_t units = 0;     // 0 millimetres, 1 inches
    std::vector<Piece> profile; // machining order: away from the start in Z
    std::vector<Piece> closure; // from the profile's end back to its start
    Pt start;                   // where the user put the start point
    bool tool_above = true;     // the tool works from the maximum-X side
    bool tool_right = true;     // the tool comes from the maximum-Z side
    bool undercut = false;      // grooves or coves the tool cannot follow
    bool arcs = false;
    std::vector<Groove> grooves; // for the grooving cycle
    Pt thread_from, thread_to;   // a plain cylinder fit for a thread
    double drill_depth = 0;      // a centre hole from the face, 0 for none
    double face_z = 0;           // Z of the face the drill starts at
    double scale = 1;            // 1 for millimetres, 1 / 25.4 for inches

    Region region() const;
};

// A deterministic part for `seed`; the kind, units and sides vary with it.
Part make_part(PartKind kind, std::uint32_t seed);

std::string describe(const Part& part);

} // namespace zeran::verify
