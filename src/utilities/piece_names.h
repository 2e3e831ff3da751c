#pragma once
// Names of the pieces of a split file, the "$" convention for the base name
// and the two scripts that join the pieces again.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::utilities {

// Piece size of the "1.44M" option: 1.38 × 1024 × 1024 = 1447034.88 bytes
// taken to the nearest byte, what fits on a high-density floppy disk.
constexpr std::int64_t kFloppyPieceSize = 1447035;

// base + ".001" … ".009", ".010" … ".099", ".100" and on.
std::string PieceName(const std::string& base, std::int64_t k);

// The base name proposed for a source: the last "." of the file name turns
// into "$" (a.jpeg gives a$jpeg); a file name without "." is kept.
std::string ProposeBaseName(const std::string& source);

// The merged name for a piece: its piece extension dropped and the last "$"
// of the file name turned back into "." (/srv/c$/data$exe.001 gives
// /srv/c$/data.exe).
std::string MergedName(const std::string& piece);

// The base of a piece named by PieceName (folder kept), or "" when the
// name is not base + ".001" and so on as PieceName writes them.
std::string PieceBase(const std::string& piece);

// The pieces that belong with a piece: the unbroken run base.001, base.002,
// … of regular files up to the first missing number. Empty when the piece
// is not named by PieceName.
std::vector<std::string> CollectPieces(const std::string& piece);

// The file that stands beside the pieces of a base while a split replaces
// them; while it is there the set is unfinished.
std::string UnfinishedMarker(const std::string& base);
bool SplitUnfinished(const std::string& base);

// What "add files to merge" takes for a chosen file: when its name holds
// "001", all its pieces (CollectPieces); otherwise, or when it has none,
// the file alone.
std::vector<std::string> PiecesToAdd(const std::string& chosen);

// The first character of a file name that Link.bat cannot hold: a double
// quote or a control character (they would end the quoted name or the
// command), a byte that is not UTF-8 text or a character without a GBK
// code. A control character or a stray byte is shown as \xHH. Empty when
// the whole name can be written.
std::string BatchUnsafeCharacter(std::string_view name);

// The batch file that joins the pieces with the system's copy command: one
// line, GBK, CR LF. Names are file names without folder, and every one
// passes BatchUnsafeCharacter.
std::string LinkBatBytes(const std::vector<std::string>& pieceNames, const std::string& mergedName);
// The same for POSIX shells: UTF-8, LF. Any name can be written: names are
// quoted whole and the comment shows control characters as "?".
std::string LinkShText(const std::vector<std::string>& pieceNames, const std::string& mergedName);

// The file name of a path and its folder ("" for none); both separators count.
std::string FileNameOf(std::string_view path);
std::string FolderOf(std::string_view path);

}  // namespace korvane::utilities
