// Whole-file reading and writing for the plug-in's state chunk file.
#pragma once

#include <cstddef>
#include <vector>

namespace tolvaran {

// The state chunk file, in the current directory.
inline constexpr const char* kChunkFileName = "tessic.conf";

// Larger files are not read: a chunk is text of some kilobytes.
inline constexpr size_t kMaxChunkFileBytes = size_t{16} << 20;

// Reads a regular file of at most kMaxChunkFileBytes into bytes, sized to the file's length;
// bytes past what could be read stay zero. False for anything else or a read error.
bool read_whole_file(const char* file_name, std::vector<char>& bytes);

// Writes the bytes as the whole file; false when the file cannot be written completely.
bool write_whole_file(const char* file_name, const void* bytes, size_t length);

// Drops each carriage return that comes before a line feed, as a text-mode read does,
// moving the rest forward and zero-filling the freed tail. Answers the text's new length.
size_t drop_carriage_returns(char* text, size_t length);

}  // namespace tolvaran
