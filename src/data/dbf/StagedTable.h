#pragma once

namespace velmor {
class StagedFile;
}

namespace velmor::dbf {

// Puts a staged table and its staged memo file (nullptr for none) in place together: both are
// complete on disk before either replaces anything, the memo file goes first, and when the
// table then cannot take its place the old memo file is put back (or the new one removed when
// there was none). Throws WriteError; the files of those names are as they were then.
void putTableInPlace(StagedFile& table, StagedFile* memo);

}
