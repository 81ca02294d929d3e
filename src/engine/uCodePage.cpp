// Windows-1251 conversion through the C library's iconv. The converters are opened once
// per thread: a project file with ten thousand sensors converts many short names.
#include "uCodePage.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace {

class TConverter {
public:
    TConverter(const char* to, const char* from) : FHandle(iconv_open(to, from))
    {
        if (FHandle == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~TConverter() { iconv_close(FHandle); }
    TConverter(const TConverter&) = delete;
    TConverter& operator=(const TConverter&) = delete;

    // Converts one whole buffer; an unconvertible input unit is replaced by `substitute`
    // and skipped (`unit` bytes at a time).
    std::string Convert(std::string_view in, size_t unit, std::string_view substitute)
    {
        iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.resize(in.size() * 4 + 8);
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char* outPtr = out.data();
        size_t outLeft = out.size();
        while (inLeft > 0) {
            const size_t rc = iconv(FHandle, &inPtr, &inLeft, &outPtr, &outLeft);
            if (rc != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG) {
                const size_t used = static_cast<size_t>(outPtr - out.data());
                out.resize(out.size() * 2);
                outPtr = out.data() + used;
                outLeft = out.size() - used;
                continue;
            }
            // EILSEQ or EINVAL: substitute and skip one input unit.
            const size_t skip = inLeft < unit ? inLeft : unit;
            inPtr += skip;
            inLeft -= skip;
            if (outLeft < substitute.size() + 1) {
                const size_t used = static_cast<size_t>(outPtr - out.data());
                out.resize(out.size() * 2 + substitute.size());
                outPtr = out.data() + used;
                outLeft = out.size() - used;
            }
            for (char c : substitute) {
                *outPtr++ = c;
                --outLeft;
            }
        }
        out.resize(static_cast<size_t>(outPtr - out.data()));
        return out;
    }

private:
    iconv_t FHandle;
};

} // namespace

std::string ToCp1251(const QString& text)
{
    if (text.isEmpty())
        return {};
    thread_local TConverter conv("WINDOWS-1251", "UTF-16LE");
    // UTF-16 code units, so a character outside the code page is skipped as one unit
    // (two for a surrogate pair: the second unit is rejected too and also substituted,
    // which we collapse below).
    std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
    std::string out;
    out.reserve(units.size());
    size_t start = 0;
    // Convert runs and handle surrogate pairs ourselves so that one character gives one '?'.
    for (size_t i = 0; i <= units.size(); ++i) {
        const bool atEnd = (i == units.size());
        const bool surrogate = !atEnd && units[i] >= 0xD800 && units[i] <= 0xDFFF;
        if (atEnd || surrogate) {
            if (i > start) {
                std::string_view run(reinterpret_cast<const char*>(units.data() + start), (i - start) * 2);
                out += conv.Convert(run, 2, "?");
            }
            if (surrogate) {
                out.push_back('?');
                if (units[i] <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF)
                    ++i;
            }
            start = i + 1;
        }
    }
    return out;
}

QString FromCp1251(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    thread_local TConverter conv("UTF-16LE", "WINDOWS-1251");
    const std::string u16 = conv.Convert(bytes, 1, std::string_view("\xFD\xFF", 2));
    return QString(reinterpret_cast<const QChar*>(u16.data()), static_cast<qsizetype>(u16.size() / 2));
}
