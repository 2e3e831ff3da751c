#pragma once
// The start data of a simple traverse: thirteen text fields kept as typed, and
// the file "text_qssj.ini" of thirteen 128-byte records that hands them from
// the start-data dialog to the engines.
#include <array>
#include <string>

namespace korvane {

inline constexpr int kStartRecordCount = 13;
inline constexpr int kStartRecordBytes = 128;
inline constexpr const char* kStartDataFileName = "text_qssj.ini";
inline constexpr const char* kStartDataMarkerName = "text_qssj.txt";

// Field k (1-based record number) is fields[k - 1].
struct StartRecord {
  std::array<std::string, kStartRecordCount> fields;
  const std::string& record(int k) const { return fields[k - 1]; }
  std::string& record(int k) { return fields[k - 1]; }
};

// Bytes of the file: per record a 16-bit little-endian length, the GBK text
// and zero padding to 128 bytes. A text longer than a record can hold is cut
// at a character boundary.
std::string EncodeStartFile(const StartRecord& record);
// Reads the bytes back (GBK); a short or empty file gives empty fields.
StartRecord DecodeStartFile(const std::string& bytes);

// Reads the file (always GBK); a missing file, and one that is not a regular
// file of at most 4,096 bytes, reads as thirteen empty fields, with the
// reason in `error` when it is given.
StartRecord ReadStartFile(const std::string& path, std::string* error = nullptr);
// Writes all thirteen records through a temporary file and a rename. Returns
// an empty string on success, otherwise the reason.
std::string WriteStartFile(const std::string& path, const StartRecord& record);

// The engines' reading of record k: the first 15 characters, leading blanks
// removed, leniently parsed (an empty record reads 0).
double EngineValue(const StartRecord& record, int k);
// The dialog's reload of record k: its first 20 characters.
std::string DialogReloadText(const StartRecord& record, int k);

}  // namespace korvane
