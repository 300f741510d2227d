#pragma once
// One move record: an NC block held as modal group slots and address words,
// each with a presence flag. Profile records and tool-path moves share it.
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace zeran {

// Motion values of group 1.
inline constexpr int kMotionRapid = 0;
inline constexpr int kMotionLinear = 1;
inline constexpr int kMotionClockwise = 2;
inline constexpr int kMotionCounterClockwise = 3;
inline constexpr int kMotionThread = 32;

// Word slots in use.
inline constexpr int kWordX = 1;
inline constexpr int kWordThread7 = 7;
inline constexpr int kWordThread8 = 8;
inline constexpr int kWordRadius = 9;
inline constexpr int kWordCentreX = 10;
inline constexpr int kWordCentreZ = 12;
inline constexpr int kWordZ = 3;
inline constexpr int kWordFeed = 13;
inline constexpr int kWordSweep = 16;
inline constexpr int kWordThread18 = 18;
// On the move that starts cutter compensation: the insert's nose radius and
// its tip's orientation (1 to 9 as lathe controls number them).
inline constexpr int kWordNoseRadius = 19;
inline constexpr int kWordNoseOrientation = 20;
inline constexpr int kWordSpeed = 23;

inline constexpr int kGroupMotion = 1;
// Cutter compensation, set on the one move that turns it on (the lead-in,
// left or right of the path in its direction) or off (the lead-out); the
// control offsets the moves between by the nose radius.
inline constexpr int kGroupCutterComp = 7;
inline constexpr int kCompOff = 40;
inline constexpr int kCompLeft = 41;
inline constexpr int kCompRight = 42;

// Raised when a record is assigned to or from an object of another class.
class AssignError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The assignable base: Assign(source) copies when the classes agree and
// otherwise raises "Cannot assign a <source> to a <target>".
class TPersistent {
public:
    virtual ~TPersistent() = default;
    virtual std::string ClassName() const { return "TPersistent"; }
    virtual void Assign(const TPersistent& source);

protected:
    virtual void AssignTo(TPersistent& target) const;
};

class TCNC_Groups : public TPersistent {
public:
    static constexpr int kGroupCount = 28;
    static constexpr int kWordCount = 33;

    std::array<std::int32_t, kGroupCount> Groups{};
    std::array<bool, kGroupCount> GroupSet{};
    std::array<double, kWordCount> Words{};
    std::array<bool, kWordCount> WordSet{};
    // Carried and copied for the NC block model; nothing in this system reads them.
    std::array<bool, 4> Flags{};
    std::array<std::int32_t, 3> Integers{};

    std::string ClassName() const override { return "TCNC_Groups"; }
    void Assign(const TPersistent& source) override;

    void SetGroup(int slot, std::int32_t value) {
        Groups[slot] = value;
        GroupSet[slot] = true;
    }
    void SetWord(int slot, double value) {
        Words[slot] = value;
        WordSet[slot] = true;
    }

    // Motion of group 1 (its value, whether or not the slot is present).
    int Motion() const { return Groups[kGroupMotion]; }
    bool IsArc() const {
        return Groups[kGroupMotion] == kMotionClockwise ||
               Groups[kGroupMotion] == kMotionCounterClockwise;
    }
    double X() const { return Words[kWordX]; }
    double Z() const { return Words[kWordZ]; }
    double CentreX() const { return Words[kWordCentreX]; }
    double CentreZ() const { return Words[kWordCentreZ]; }
    double Radius() const { return Words[kWordRadius]; }
    double Sweep() const { return Words[kWordSweep]; }

protected:
    void AssignTo(TPersistent& target) const override;
};

} // namespace zeran
