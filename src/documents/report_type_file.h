// The management-report type a small text file may set for each opening.
#pragma once

#include <optional>
#include <string_view>

namespace ecf::documents {

inline constexpr const char *arquivo_tipo_relatorio = "KRELATG.TMP";

// The type held by the first line of the file's text: one or two digits
// followed by any other character, the line at most 46 characters before its
// line feed, no end-of-file mark before it. Anything else: none.
std::optional<int> tipo_da_linha(std::string_view inicio_do_arquivo);

// Reads the start of "KRELATG.TMP" in the working directory; none when the
// file is absent, not a regular file, or its first line is not a type.
std::optional<int> le_tipo_relatorio();

}  // namespace ecf::documents
