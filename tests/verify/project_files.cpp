#include "project_files.h"

#include "base/file_io.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

namespace zeran::verify {

namespace {

bool same(const Piece& a, const Piece& b) {
    return a.arc == b.arc && dist(a.a, b.a) < 1e-9 && dist(a.b, b.b) < 1e-9;
}

std::string num(double v) {
    std::ostringstream s;
    s.precision(15);
    s << v;
    return s.str();
}

} // namespace

void write_project(const std::string& folder, const std::string& name, const Part& part,
                   DrawingPoint datum, const std::vector<PlannedCycle>& cycles) {
    // Every distinct piece once: lines, then arcs, in first-use order.
    std::vector<Piece> lines, arcs;
    const auto index_of = [](const std::vector<Piece>& list, const Piece& p) {
        for (std::size_t i = 0; i < list.size(); ++i)
            if (same(list[i], p)) return static_cast<int>(i);
        return -1;
    };
    for (const PlannedCycle& c : cycles)
        for (const Piece& p : c.profile) {
            auto& list = p.arc ? arcs : lines;
            if (index_of(list, p) < 0) list.push_back(p);
        }
    const auto x_of = [&](Pt q) { return q.z + datum.x; };
    const auto y_of = [&](Pt q) { return q.x + datum.y; };
    std::ostringstream dxf;
    dxf << "0\r\nSECTION\r\n2\r\nENTITIES\r\n";
    for (const Piece& p : lines)
        dxf << "0\r\nLINE\r\n8\r\nPROFILE\r\n10\r\n"
            << num(x_of(p.a)) << "\r\n20\r\n"
            << num(y_of(p.a)) << "\r\n30\r\n0.0\r\n11\r\n"
            << num(x_of(p.b)) << "\r\n21\r\n"
            << num(y_of(p.b)) << "\r\n31\r\n0.0\r\n";
    const double deg = 180 / std::numbers::pi;
    for (const Piece& p : arcs) {
        const double a = angle_about(p.a, p.centre) * deg, b = angle_about(p.b, p.centre) * deg;
        dxf << "0\r\nARC\r\n8\r\nPROFILE\r\n10\r\n"
            << num(x_of(p.centre)) << "\r\n20\r\n"
            << num(y_of(p.centre)) << "\r\n30\r\n0.0\r\n40\r\n"
            << num(radius_of(p)) << "\r\n50\r\n"
            << num(p.ccw ? a : b) << "\r\n51\r\n"
            << num(p.ccw ? b : a) << "\r\n";
    }
    dxf << "0\r\nENDSEC\r\n0\r\nEOF\r\n";
    write_file_atomically(folder + "/" + name + ".dxf", dxf.str());

    // Drawing tree: root 0, layer 1, then each group node and its elements.
    std::ostringstream tcf;
    tcf << "[DXF]\r\nTDXFilename=" << name << ".tdx\r\nDatun_x=" << num(datum.x)
        << "\r\nDatun_y=" << num(datum.y) << "\r\nPROFILE=1\r\n";
    int node = 2;
    int group = 0;
    int line_group = -1, arc_group = -1;
    if (!lines.empty()) {
        tcf << "PROFILE_LINES=" << node++ << "\r\n";
        for (std::size_t i = 0; i < lines.size(); ++i)
            tcf << "PROFILE_LINE " << i + 1 << "=" << node++ << "\r\n";
        line_group = group++;
    }
    if (!arcs.empty()) {
        tcf << "PROFILE_ARCS=" << node++ << "\r\n";
        for (std::size_t i = 0; i < arcs.size(); ++i)
            tcf << "PROFILE_ARC " << i + 1 << "=" << node++ << "\r\n";
        arc_group = group++;
    }
    const bool metric = part.units == 0;
    tcf << "\r\n[Material]\r\nName=Mild Steel (" << (metric ? "Metric" : "Inch")
        << ")\r\n\r\n[Machine]\r\nName=LinuxCNC Lathe\r\nPost Out Directory=\r\n\r\n"
        << "[Header]\r\nProject=" << name
        << ".tcf\r\nDate=45000\r\nAuthor=verify\r\nMetric=" << (metric ? 1 : 0)
        << "\r\nBilletX=0\r\nBilletZ=0\r\n\r\n";
    for (std::size_t n = 0; n < cycles.size(); ++n) {
        const PlannedCycle& c = cycles[n];
        tcf << "[Cycle" << n + 1 << "]\r\nCycleType=" << static_cast<int>(c.kind)
            << "\r\nChecked=1\r\nComment=cycle " << n + 1 << "\r\n";
        for (std::size_t i = 0; i < c.profile.size(); ++i) {
            const Piece& p = c.profile[i];
            tcf << "Entity_" << i << "=0_" << (p.arc ? arc_group : line_group) << "_"
                << index_of(p.arc ? arcs : lines, p) << "\r\n";
        }
        tcf << "Tool_Number=" << c.tool << "\r\nTool_Width=" << num(c.tool_width)
            << "\r\nTool_Length=40\r\nParam_StartPosX=" << num(c.start.x)
            << "\r\nParam_StartPosZ=" << num(c.start.z) << "\r\nParam_UseBillet=0\r\n";
        std::vector<std::string> keys;
        write_param_keys(c.kind, c.params, keys);
        for (const std::string& k : keys) {
            const auto comma = k.find(',');
            tcf << k.substr(0, comma) << "=" << k.substr(comma + 1) << "\r\n";
        }
        tcf << "\r\n";
    }
    write_file_atomically(folder + "/" + name + ".tcf", tcf.str());
}

std::vector<Move> read_canonical(const std::string& text, std::vector<std::size_t>& tool_changes) {
    std::vector<Move> out;
    std::istringstream in(text);
    std::string line;
    Pt pos{};
    bool known = false;
    bool synced = false;
    const auto numbers = [](const std::string& l) {
        std::vector<double> v;
        std::string args = l.substr(l.find('(') + 1);
        std::replace(args.begin(), args.end(), ',', ' ');
        std::istringstream s(args);
        double d;
        while (s >> d) v.push_back(d);
        return v;
    };
    while (std::getline(in, line)) {
        if (line.find("START_SPEED_FEED_SYNC") != std::string::npos) synced = true;
        if (line.find("STOP_SPEED_FEED_SYNC") != std::string::npos) synced = false;
        if (line.find("CHANGE_TOOL(") != std::string::npos) tool_changes.push_back(out.size());
        const bool traverse = line.find("STRAIGHT_TRAVERSE(") != std::string::npos;
        const bool feed = line.find("STRAIGHT_FEED(") != std::string::npos;
        const bool arc = line.find("ARC_FEED(") != std::string::npos;
        if (!traverse && !feed && !arc) continue;
        const std::vector<double> v = numbers(line);
        Move m;
        m.kind = traverse ? MoveKind::Rapid : synced ? MoveKind::Thread : MoveKind::Feed;
        if (arc && v.size() >= 5) {
            // XZ plane: first axis Z, second X; rotation > 0 is counter-clockwise.
            const Pt to{v[1], v[0]};
            m.path = arc_piece(known ? pos : to, to, {v[3], v[2]}, v[4] > 0);
            pos = to;
        } else if (v.size() >= 3) {
            const Pt to{v[0], v[2]};
            m.path = line_piece(known ? pos : to, to);
            pos = to;
        } else {
            continue;
        }
        known = true;
        out.push_back(m);
    }
    return out;
}

} // namespace zeran::verify
