#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A small Enhanced Metafile reader of its own, written from the format description and not
// from the writer, so that the tests check the files against the format.
namespace lobex::plotter::test {

inline std::uint32_t U32(const QByteArray& bytes, qsizetype at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}
inline std::int32_t I32(const QByteArray& bytes, qsizetype at) {
    return static_cast<std::int32_t>(U32(bytes, at));
}
inline std::uint16_t U16(const QByteArray& bytes, qsizetype at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}
inline QString Utf16(const QByteArray& bytes, qsizetype at, qsizetype units) {
    QString text;
    for (qsizetype i = 0; i < units; ++i) {
        text.append(QChar(U16(bytes, at + 2 * i)));
    }
    return text;
}

struct EmfRecord {
    std::uint32_t type = 0;
    QByteArray data; // the whole record, type and size included
    std::uint32_t U(qsizetype at) const { return U32(data, at); }
    std::int32_t I(qsizetype at) const { return I32(data, at); }
};

// The records in file order; an empty list and a reason when the framing is broken.
inline std::vector<EmfRecord> ReadEmf(const QByteArray& file, std::string& error) {
    std::vector<EmfRecord> records;
    qsizetype at = 0;
    while (at < file.size()) {
        if (file.size() - at < 8) {
            error = "truncated record at " + std::to_string(at);
            return {};
        }
        const std::uint32_t type = U32(file, at);
        const std::uint32_t size = U32(file, at + 4);
        if (size < 8 || size % 4 != 0 || at + static_cast<qsizetype>(size) > file.size()) {
            error = "bad record size " + std::to_string(size) + " at " + std::to_string(at);
            return {};
        }
        records.push_back({type, file.mid(at, size)});
        at += size;
    }
    return records;
}

// Text drawn by an EXTTEXTOUTW record.
inline QString TextOf(const EmfRecord& record) {
    const std::uint32_t count = record.U(44);
    const std::uint32_t offset = record.U(48);
    return Utf16(record.data, offset, count);
}

} // namespace lobex::plotter::test
