#pragma once

#include "platform/Registry.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstring>
#include <map>

// A registry held in memory. Keys and value names match without regard to
// case. It records every key opened and knows which are still open.
class FakeRegistry : public Registry {
public:
    struct Value {
        std::uint32_t type;
        QByteArray bytes;
    };
    struct Opening {
        std::uint32_t root;
        QByteArray keyName;
        std::uint32_t options;
        std::uint32_t access;
    };

    void addKey(const QByteArray& key) { m_keys[key.toLower()]; }
    void setValue(const QByteArray& key, const QByteArray& name, std::uint32_t type, const QByteArray& bytes)
    {
        m_keys[key.toLower()][name.toLower()] = Value{type, bytes};
    }
    // A REG_SZ as the registry stores it: the text and its terminating NUL.
    void setString(const QByteArray& key, const QByteArray& name, const QByteArray& text)
    {
        setValue(key, name, RegSz, text + QByteArray(1, '\0'));
    }
    // A REG_DWORD: four bytes, least significant first.
    void setDword(const QByteArray& key, const QByteArray& name, std::uint32_t number)
    {
        QByteArray bytes;
        for (int i = 0; i < 4; ++i)
            bytes.append(static_cast<char>((number >> (8 * i)) & 0xFF));
        setValue(key, name, RegDword, bytes);
    }

    std::int32_t openKey(std::uint32_t root, const QByteArray& keyName, std::uint32_t options, std::uint32_t access,
                         Key* key) override
    {
        openings.append(Opening{root, keyName, options, access});
        if (root != HKeyLocalMachine || m_keys.find(keyName.toLower()) == m_keys.end())
            return ErrorFileNotFound;
        *key = m_nextKey++;
        m_open[*key] = keyName.toLower();
        return ErrorSuccess;
    }

    std::int32_t queryValue(Key key, const QByteArray& valueName, std::uint32_t* type, char* buffer,
                            std::uint32_t* size) override
    {
        const auto open = m_open.find(key);
        if (open == m_open.end())
            return ErrorInvalidHandle;
        const auto& values = m_keys[open->second];
        const auto value = values.find(valueName.toLower());
        if (value == values.end())
            return ErrorFileNotFound;
        const auto needed = static_cast<std::uint32_t>(value->second.bytes.size());
        const std::uint32_t capacity = *size;
        *type = value->second.type;
        *size = needed;
        if (needed > capacity)
            return ErrorMoreData;
        std::memcpy(buffer, value->second.bytes.constData(), needed);
        return ErrorSuccess;
    }

    std::int32_t closeKey(Key key) override { return m_open.erase(key) == 1 ? ErrorSuccess : ErrorInvalidHandle; }

    // Keys opened and not closed again.
    int openKeys() const { return static_cast<int>(m_open.size()); }

    QList<Opening> openings;

private:
    std::map<QByteArray, std::map<QByteArray, Value>> m_keys;
    std::map<Key, QByteArray> m_open;
    Key m_nextKey = 0x100;
};
