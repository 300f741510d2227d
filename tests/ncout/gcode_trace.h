#pragma once
// Reads lathe G-code back as a plain list of moves, so tests can check what a
// machine would do: diameter X, Z, radius I and K, modal motion.
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace zeran::test {

struct TracedMove {
    int motion = 0; // 0, 1, 2, 3
    double x0 = 0, z0 = 0, x = 0, z = 0;
    double i = 0, k = 0;
    std::string block;

    // Distance of start and end from the centre, in radius terms.
    double start_radius() const { return std::hypot(i, k); }
    double end_radius() const {
        double cr = x0 / 2 + i, cz = z0 + k;
        return std::hypot(x / 2 - cr, z - cz);
    }
};

// Words of one block, comments and block numbers removed.
inline std::map<char, std::string> gcode_words(const std::string& block) {
    std::map<char, std::string> words;
    std::string clean;
    int depth = 0;
    for (char c : block) {
        if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        else if (depth == 0 && c != '\r')
            clean += c;
    }
    std::size_t p = 0;
    while (p < clean.size()) {
        char c = static_cast<char>(std::toupper(static_cast<unsigned char>(clean[p])));
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++p;
            continue;
        }
        std::size_t b = ++p;
        while (p < clean.size() && (std::isdigit(static_cast<unsigned char>(clean[p])) ||
                                    clean[p] == '.' || clean[p] == '-' || clean[p] == '+'))
            ++p;
        if (c == 'G') {
            words[c] += (words[c].empty() ? "" : " ") + clean.substr(b, p - b);
        } else {
            words[c] = clean.substr(b, p - b);
        }
    }
    return words;
}

inline std::vector<TracedMove> trace_gcode(const std::string& program) {
    std::vector<TracedMove> moves;
    std::istringstream in(program);
    std::string line;
    int motion = 0;
    double x = 0, z = 0;
    while (std::getline(in, line)) {
        auto w = gcode_words(line);
        bool canned = false;
        if (w.count('G')) {
            std::istringstream gs(w['G']);
            double g;
            while (gs >> g) {
                if (g == 0 || g == 1 || g == 2 || g == 3) motion = static_cast<int>(g);
                if (g == 76 || g == 28 || g == 50 || g == 96) canned = true;
            }
        }
        if (canned || (!w.count('X') && !w.count('Z'))) {
            if (!canned && (w.count('I') || w.count('K')) && motion >= 2) {
                // full circle: end equals start
            } else {
                continue;
            }
        }
        TracedMove m;
        m.motion = motion;
        m.x0 = x;
        m.z0 = z;
        if (w.count('X')) x = std::atof(w['X'].c_str());
        if (w.count('Z')) z = std::atof(w['Z'].c_str());
        m.x = x;
        m.z = z;
        if (w.count('I')) m.i = std::atof(w['I'].c_str());
        if (w.count('K')) m.k = std::atof(w['K'].c_str());
        m.block = line;
        moves.push_back(m);
    }
    return moves;
}

} // namespace zeran::test
