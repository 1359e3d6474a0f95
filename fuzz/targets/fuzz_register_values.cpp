// libFuzzer target: arbitrary bytes read as the draft register reads the values it keeps.
#include "RegisterValuesCheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The fuzzer's buffer is exactly `size` bytes long, so a read past the data
    // is caught by AddressSanitizer.
    const QStringList failures =
        RegisterValuesCheck::check(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!failures.isEmpty()) {
        std::fprintf(stderr, "register values check failed:\n  %s\n",
                     qPrintable(failures.join(QStringLiteral("\n  "))));
        std::abort();
    }
    return 0;
}
