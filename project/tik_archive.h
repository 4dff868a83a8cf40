// The project file <name>.TIK: the project's conditions and its terrain tables in one
// archive. Stored always as version 8; files of versions 1 to 8 load, older ones with
// the repairs their layout needs.
#pragma once

#include "core/block.h"
#include "core/line.h"
#include "core/sansyutu.h"
#include "core/sokuten.h"
#include "core/tik_inf.h"
#include "platform/archive.h"

namespace wv {

inline constexpr int kTikFileVersion = 8;

// One project's tables, for loading into before they replace those of the open project.
struct TikTables {
    CTik_Inf info;
    CSokuten points;
    CLine lines;
    CBlock blocks;
    CSansyutu calcPoints;
};

// Writes the project archive (version 8) from the given tables.
void WriteTikArchive(CArchive& ar, CTik_Inf& info, CSokuten& points, CLine& lines, CBlock& blocks,
                     CSansyutu& calcPoints);

// Reads a whole project archive into fresh tables: checks every count and slot
// reference, fills the lines' end coordinates from their points, and for files older
// than version 7 rebuilds the point-line links and gives each point the height of its
// first defined line. Throws ArchiveError for a damaged or truncated file; `tables` is
// then in no defined state and must be dropped.
void ReadTikArchive(CArchive& ar, TikTables& tables);

// Exchanges the given tables with those of the open project.
void SwapWithOpenProject(TikTables& tables);

}  // namespace wv
