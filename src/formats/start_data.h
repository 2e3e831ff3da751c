#pragma once
// The start data of a simple traverse: thirteen text fields kept as typed, and
// the file "text_qssj.ini" of thirteen 128-byte records that hands them from
// the start-data dialog to the engines.
#include <array>
#include <string>

namespace korvane::formats {

inline constexpr int kStartRecordCount = 13;
inline constexpr int kStartRecordBytes = 128;
inline constexpr const char* kStartDataFileName = "text_qssj.ini";
inline constexpr const char* kStartDataMarkerName = "text_qssj.txt";
// The thirteen records by what they hold; the value is the record number.
enum class StartItem : int {
  StartX = 1,
  StartY = 2,
  StartHeight = 3,
  // Records 4 and 5: the start orientation point; when record 5 reads 0,
  // record 4 is the start azimuth in DMS notation instead.
  StartOrientX = 4,
  StartOrientY = 5,
  EndX = 6,
  EndY = 7,
  EndHeight = 8,
  // Records 9 and 10: the end orientation point, or the closing azimuth in
  // record 9 when record 5 reads 0.
  EndOrientX = 9,
  EndOrientY = 10,
  ProjectionHeight = 11,   // height of a user-defined projection plane; 0 for the mean height
  AdditiveConstant = 12,   // distance meter's additive constant, mm
  ScaleConstant = 13,      // distance meter's scale constant, ppm
};
inline constexpr int RecordNumber(StartItem item) { return static_cast<int>(item); }

// Field k (1-based record number) is fields[k - 1].
struct StartRecord {
  std::array<std::string, kStartRecordCount> fields;
  const std::string& record(int k) const { return fields[k - 1]; }
  std::string& record(int k) { return fields[k - 1]; }
  const std::string& record(StartItem item) const { return record(RecordNumber(item)); }
  std::string& record(StartItem item) { return record(RecordNumber(item)); }
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
inline double EngineValue(const StartRecord& record, StartItem item) {
  return EngineValue(record, RecordNumber(item));
}
// The dialog's reload of record k: its first 20 characters.
std::string DialogReloadText(const StartRecord& record, int k);

}  // namespace korvane::formats
