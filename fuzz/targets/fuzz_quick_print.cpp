// libFuzzer target: Quick Print composition of arbitrary texts.
#include "QuickPrintCheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QStringList failures =
        QuickPrintCheck::check(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!failures.isEmpty()) {
        std::fprintf(stderr, "Quick Print check failed:\n  %s\n", qPrintable(failures.join(QStringLiteral("\n  "))));
        std::abort();
    }
    return 0;
}
