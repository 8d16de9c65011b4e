#include "data/include/EmbedFile.h"
#include "data/include/EmbeddedTables.h"

SOTEN_EMBED_FILE(soten_strokes, SOTEN_STROKES_FILE);
SOTEN_EMBED_FILE(soten_keywords, SOTEN_KEYWORDS_FILE);
SOTEN_EMBED_FILE(soten_readings, SOTEN_READINGS_FILE);
SOTEN_EMBED_FILE(soten_cp932_table, SOTEN_CP932_TABLE_FILE);

SOTEN_EMBEDDED_SYMBOLS(soten_strokes);
SOTEN_EMBEDDED_SYMBOLS(soten_keywords);
SOTEN_EMBEDDED_SYMBOLS(soten_readings);
SOTEN_EMBEDDED_SYMBOLS(soten_cp932_table);

namespace soten::embedded {

std::string_view StrokeDictionaryCp932() {
    return SOTEN_EMBEDDED(soten_strokes);
}

std::string_view KeywordTableCp932() {
    return SOTEN_EMBEDDED(soten_keywords);
}

std::string_view ReadingTextTableCp932() {
    return SOTEN_EMBEDDED(soten_readings);
}

std::string_view Cp932CodeTable() {
    return SOTEN_EMBEDDED(soten_cp932_table);
}

}  // namespace soten::embedded
