#pragma once
// What a server's listing of a folder says it holds: the name and size of each file.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace velmaro {

// The listing forms servers give: MLSD facts, the Unix "ls -l" form of LIST and SFTP, and the DOS
// form of LIST ("12-07-26  04:56PM  1234 name"). Folders, "." and ".." are no files. Nothing when a
// line is in none of these forms: such a listing tells nothing.
std::optional<std::map<std::string, std::uint64_t>> MlsdLesen(const std::string& daten);
std::optional<std::map<std::string, std::uint64_t>> ListeLesen(const std::string& daten);

// A listing longer than this is not read: no site of velmaro's has that many files.
inline constexpr std::size_t kListeHoechstBytes = 32u << 20;
inline constexpr std::size_t kListeHoechstEintraege = 200000;

} // namespace velmaro
