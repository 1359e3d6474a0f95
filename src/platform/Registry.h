#pragma once

#include <QByteArray>
#include <cstdint>

// The system configuration store, as far as the About box reads it: open a key
// under a root key, read one value of it into the caller's buffer together
// with its type, close the key. The operations mirror the Windows calls so
// that the Windows implementation passes them straight through: each answers
// 0 on success or a Windows error code. Names travel as 8-bit text in the
// system's code page; the buffer holds the value's raw bytes.
class Registry {
public:
    // An open key. Roots are the 32-bit predefined handles.
    using Key = std::uintptr_t;

    static constexpr std::uint32_t HKeyLocalMachine = 0x80000002u;
    // Query value, enumerate subkeys, notify, read control: reading only.
    static constexpr std::uint32_t KeyRead = 0x20019u;

    static constexpr std::uint32_t RegSz = 1;
    static constexpr std::uint32_t RegExpandSz = 2;
    static constexpr std::uint32_t RegBinary = 3;
    static constexpr std::uint32_t RegDword = 4;

    static constexpr std::int32_t ErrorSuccess = 0;
    static constexpr std::int32_t ErrorFileNotFound = 2;
    static constexpr std::int32_t ErrorInvalidHandle = 6;
    static constexpr std::int32_t ErrorMoreData = 234;

    virtual ~Registry() = default;

    // Opens `keyName` under `root`; on success `*key` is the open key.
    virtual std::int32_t openKey(std::uint32_t root, const QByteArray& keyName, std::uint32_t options,
                                 std::uint32_t access, Key* key) = 0;

    // Reads the value `valueName` of an open key into `buffer`. `*size` holds
    // the buffer's size on entry and the value's size on return; a value
    // larger than the buffer fails with ErrorMoreData.
    virtual std::int32_t queryValue(Key key, const QByteArray& valueName, std::uint32_t* type, char* buffer,
                                    std::uint32_t* size) = 0;

    virtual std::int32_t closeKey(Key key) = 0;
};
