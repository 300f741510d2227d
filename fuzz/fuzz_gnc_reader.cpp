// The GNC reader and the post engine on arbitrary input: malformed files must
// give a clear error, never a crash, a hang or an unbounded output.
#include "ncout/gnc_interpreter.h"
#include "ncout/gnc_reader.h"
#include "ncout/post_library.h"
#include "ncout/post_processor.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

const zeran::PostLibrary& library() {
    static const zeran::PostLibrary lib = zeran::PostLibrary::parse(R"(
[Format]
Decimals = 3
SequenceStart = 10
SequenceStep = 10
[Formats]
coord = P3
[Variables]
max_rpm = 2500
[PROLOGUE]
%
O{PROGID:I4} ({PROJECT:U})
!held
?metric G21
?!metric G20
[COMMENT]
({comment_text:U})
[CHANGE_TOOL]
!reset
T{tool:I2}{tool_offset_id:I2}
[CHANGE_FEED]
!reset F
?FPR_On @feedmode:G99
?!FPR_On @feedmode:G98
[CHANGE_SPINDLE]
?CSS_On G50 S{max_rpm:I}
?CSS_On @spindle:G96 S{spindle:I} M03
?!CSS_On @spindle:G97 S{spindle:I} M03
[FAST_TRAV]
@motion:G00 @X{x:coord} @Z{z:coord}
[LINEAR_TRAV]
@motion:G01 @X{x:coord} @Z{z:coord} @F{feed:P4}
[CIRC_TRAV]
?cw @motion:G02 @X{x:coord} @Z{z:coord} I{i:coord} K{k:coord}
?!cw @motion:G03 @X{x:coord} @Z{z:coord} I{i:coord} K{k:coord}
[THREAD_CYCLE]
G76 P{FINISH_PASSES:I2}{THREAD_CHAMFER:I2}{THREAD_ANGLE:I2} Q{MIN_CUT_DEPTH:M} R{finish_allowance:coord}
G76 X{thread_x:coord} Z{thread_z:coord} P{THREAD_DEPTH:M} Q{X_INC:M} F{PITCH:P6} I{peak_offset:*2R4}
!reset motion
[EPILOGUE]
M30
%
)");
    return lib;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        auto items = zeran::read_gnc(text);
        std::string program = zeran::post_process(items, library());
        // Output grows with the input, never beyond a fixed factor of it.
        if (program.size() > 64 * size + 4096) __builtin_trap();
    } catch (const zeran::GncReadError&) {
    } catch (const zeran::PostError&) {
    }
    // The exact path, as the read-back check takes it.
    try {
        for (const auto& m : zeran::interpret_gnc(text))
            if (!std::isfinite(m.to.X) || !std::isfinite(m.to.Z)) __builtin_trap();
    } catch (const zeran::GncReadError&) {
    } catch (const zeran::GncMeaningError&) {
    }
    return 0;
}
