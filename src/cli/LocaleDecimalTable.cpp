// Made by tools/locale_decimals/make_locale_decimals from Qt 6.4.2's locale data.
#include "LocaleDecimal.h"

namespace lobex::cli {

const LocaleDecimalEntry kLocaleDecimals[] = {
    {"af", ","},    {"agq", ","},   {"ar", "٫"},    {"ar_AE", "."},  {"ar_DZ", ","}, {"ar_EH", "."},
    {"ar_LY", ","}, {"ar_MA", ","}, {"ar_TN", ","}, {"ast", ","},    {"az", ","},    {"az_IR", "."},
    {"bas", ","},   {"be", ","},    {"bg", ","},    {"br", ","},     {"bs", ","},    {"ca", ","},
    {"ckb", "٫"},   {"cs", ","},    {"da", ","},    {"de", ","},     {"de_CH", "."}, {"de_LI", "."},
    {"dsb", ","},   {"dua", ","},   {"dyo", ","},   {"el", ","},     {"en_AT", ","}, {"en_BE", ","},
    {"en_DE", ","}, {"en_DK", ","}, {"en_FI", ","}, {"en_NL", ","},  {"en_SE", ","}, {"en_SI", ","},
    {"en_ZA", ","}, {"eo", ","},    {"es", ","},    {"es_419", "."}, {"es_BR", "."}, {"es_BZ", "."},
    {"es_CU", "."}, {"es_DO", "."}, {"es_GT", "."}, {"es_HN", "."},  {"es_MX", "."}, {"es_NI", "."},
    {"es_PA", "."}, {"es_PE", "."}, {"es_PR", "."}, {"es_SV", "."},  {"es_US", "."}, {"et", ","},
    {"eu", ","},    {"ewo", ","},   {"fa", "٫"},    {"ff", ","},     {"fi", ","},    {"fo", ","},
    {"fr", ","},    {"fur", ","},   {"fy", ","},    {"gl", ","},     {"hr", ","},    {"hsb", ","},
    {"hu", ","},    {"hy", ","},    {"ia", ","},    {"id", ","},     {"is", ","},    {"it", ","},
    {"it_CH", "."}, {"jgo", ","},   {"jv", ","},    {"ka", ","},     {"kab", ","},   {"kea", ","},
    {"kgp", ","},   {"kk", ","},    {"kkj", ","},   {"kl", ","},     {"km", ","},    {"ks", "٫"},
    {"ksf", ","},   {"ksh", ","},   {"ku", ","},    {"ky", ","},     {"lb", ","},    {"ln", ","},
    {"lo", ","},    {"lrc", "٫"},   {"lt", ","},    {"lu", ","},     {"lv", ","},    {"mgh", ","},
    {"mk", ","},    {"ms_BN", ","}, {"ms_ID", ","}, {"mua", ","},    {"mzn", "٫"},   {"nb", ","},
    {"nds", ","},   {"nl", ","},    {"nmg", ","},   {"nn", ","},     {"nnh", ","},   {"os", ","},
    {"pa_PK", "٫"}, {"pl", ","},    {"ps", "٫"},    {"pt", ","},     {"qu_BO", ","}, {"rn", ","},
    {"ro", ","},    {"ru", ","},    {"rw", ","},    {"sah", ","},    {"sc", ","},    {"sd", "٫"},
    {"sd_IN", "."}, {"se", ","},    {"seh", ","},   {"sg", ","},     {"shi", ","},   {"sk", ","},
    {"sl", ","},    {"smn", ","},   {"sq", ","},    {"sr", ","},     {"su", ","},    {"sv", ","},
    {"sw_CD", ","}, {"tg", ","},    {"tk", ","},    {"tr", ","},     {"tt", ","},    {"tzm", ","},
    {"uk", ","},    {"ur_IN", "٫"}, {"uz", ","},    {"uz_AF", "٫"},  {"vi", ","},    {"wae", ","},
    {"wo", ","},    {"yav", ","},   {"yrl", ","},   {"zgh", ","},
};
const std::size_t kLocaleDecimalCount = std::size(kLocaleDecimals);

} // namespace lobex::cli
