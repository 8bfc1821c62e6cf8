#include "report/pdf_text_layer.h"

#include <QLoggingCategory>
#include <QRegularExpression>

#include <qpdf/Buffer.hh>
#include <qpdf/BufferInputSource.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFTokenizer.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <exception>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <utility>

namespace hcalc {

using namespace Qt::Literals::StringLiterals;

namespace {

// A glyph that a text-showing operator shows: its font, its CID in the
// font's two-byte Identity encoding, the text object it is in and where the
// operator starts (with its operands) and ends in the content stream.
struct Shown {
    QPDFObjGen font;
    unsigned cid = 0;
    int textObject = 0;
    size_t begin = 0;
    size_t end = 0;
};

// The glyphs that a page's content shows, as Qt's PDF engine writes it:
// each text object sets its font with Tf (a Type0 font of two-byte CIDs) and
// shows glyphs with Tj or TJ. Nothing when the content is not of that kind.
std::optional<std::vector<Shown>> shownGlyphs(const std::string& content, QPDFObjectHandle fonts,
                                              std::map<QPDFObjGen, QPDFObjectHandle>& fontObjects) {
    const auto input = std::make_shared<BufferInputSource>("page content", content);
    QPDFTokenizer tokenizer;
    tokenizer.allowEOF();
    std::vector<Shown> glyphs;
    std::vector<QPDFTokenizer::Token> operands;  // since the last operator; strings of an array too
    size_t operandsBegin = 0;
    int depth = 0;  // of arrays and dictionaries
    QPDFObjGen font;
    int textObject = 0;
    bool inText = false;
    const auto show = [&](const QPDFTokenizer::Token& string, size_t end) {
        const std::string& bytes = string.getValue();
        if (!font.isIndirect() || bytes.size() % 2 != 0) {
            return false;
        }
        for (size_t i = 0; i < bytes.size(); i += 2) {
            const unsigned cid = static_cast<unsigned char>(bytes[i]) << 8 | static_cast<unsigned char>(bytes[i + 1]);
            glyphs.push_back({font, cid, textObject, operandsBegin, end});
        }
        return true;
    };
    while (true) {
        const QPDFTokenizer::Token token = tokenizer.readToken(input, "page content", true);
        const auto offset = static_cast<size_t>(input->getLastOffset());
        const QPDFTokenizer::token_type_e type = token.getType();
        if (type == QPDFTokenizer::tt_eof) {
            break;
        }
        if (type == QPDFTokenizer::tt_bad || (type == QPDFTokenizer::tt_word && depth > 0)) {
            return std::nullopt;
        }
        if (type != QPDFTokenizer::tt_word) {
            if (operands.empty() && depth == 0) {
                operandsBegin = offset;
            }
            depth += type == QPDFTokenizer::tt_array_open || type == QPDFTokenizer::tt_dict_open;
            depth -= type == QPDFTokenizer::tt_array_close || type == QPDFTokenizer::tt_dict_close;
            if (depth == 0 || type == QPDFTokenizer::tt_string) {
                operands.push_back(token);
            }
            continue;
        }
        const std::string& op = token.getValue();
        const size_t end = offset + token.getRawValue().size();
        bool valid = true;
        if (op == "BT") {
            inText = true;
            ++textObject;
        } else if (op == "ET") {
            inText = false;
        } else if (op == "Tf" && operands.size() == 2 && operands[0].getType() == QPDFTokenizer::tt_name) {
            QPDFObjectHandle object =
                fonts.isDictionary() ? fonts.getKey(operands[0].getValue()) : QPDFObjectHandle::newNull();
            valid = object.isDictionary() && object.getKey("/Subtype").isNameAndEquals("/Type0") &&
                    object.getKey("/Encoding").isNameAndEquals("/Identity-H");
            font = object.getObjGen();
            fontObjects.emplace(font, object);
        } else if (inText && (op == "Tj" || op == "'" || op == "\"" || op == "TJ")) {
            for (const QPDFTokenizer::Token& operand : operands) {
                if (operand.getType() == QPDFTokenizer::tt_string) {
                    valid = valid && show(operand, end);
                }
            }
        } else if (op == "ID") {
            tokenizer.expectInlineImage(input);  // the image data, up to EI
        }
        if (!valid) {
            return std::nullopt;
        }
        operands.clear();
    }
    if (inText || depth != 0) {
        return std::nullopt;
    }
    return glyphs;
}

using ToUnicode = std::map<unsigned, QString>;  // CID -> its text

QString utf16FromHex(const QString& hex) {
    QString text;
    for (qsizetype i = 0; i + 4 <= hex.size(); i += 4) {
        text += QChar(static_cast<char16_t>(hex.mid(i, 4).toUInt(nullptr, 16)));
    }
    return text;
}

// The bfchar and bfrange entries of a ToUnicode CMap.
ToUnicode parseToUnicode(const std::string& cmap) {
    static const QRegularExpression token(u"<([0-9A-Fa-f\\s]*)>|\\[|\\]|[A-Za-z]+"_s);
    QStringList tokens;
    for (const QRegularExpressionMatch& m : token.globalMatch(QString::fromLatin1(cmap))) {
        tokens << (m.hasCaptured(1) ? u"<"_s + m.captured(1).remove(QRegularExpression(u"\\s"_s)) : m.captured(0));
    }
    const auto isHex = [&](qsizetype i) { return i < tokens.size() && tokens[i].startsWith(u'<'); };
    const auto value = [&](qsizetype i) { return tokens[i].mid(1).toUInt(nullptr, 16); };
    ToUnicode map;
    QString section;
    for (qsizetype i = 0; i < tokens.size();) {
        if (!isHex(i)) {
            section = tokens[i++];
        } else if (section == u"beginbfchar"_s && isHex(i + 1)) {
            map[value(i)] = utf16FromHex(tokens[i + 1].mid(1));
            i += 2;
        } else if (section == u"beginbfrange"_s && isHex(i + 1) && isHex(i + 2)) {
            // <lo> <hi> <first>: the last code unit counts up along the range.
            QString text = utf16FromHex(tokens[i + 2].mid(1));
            for (unsigned cid = value(i); cid <= value(i + 1) && !text.isEmpty(); ++cid) {
                map[cid] = text;
                text.back() = QChar(static_cast<char16_t>(text.back().unicode() + 1));
            }
            i += 3;
        } else if (section == u"beginbfrange"_s && isHex(i + 1) && i + 2 < tokens.size() && tokens[i + 2] == u"["_s) {
            // <lo> <hi> [<text> ...]: one text for each CID.
            unsigned cid = value(i);
            for (i += 3; isHex(i); ++i) {
                map[cid++] = utf16FromHex(tokens[i].mid(1));
            }
        } else {
            ++i;
        }
    }
    return map;
}

QByteArray hexUtf16(const QString& text) {
    QByteArray hex;
    for (const QChar c : text) {
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    }
    return hex;
}

std::string writeToUnicode(const ToUnicode& allEntries) {
    ToUnicode map;
    for (const auto& [cid, text] : allEntries) {
        if (!text.isEmpty()) {
            map.emplace(cid, text);
        }
    }
    QByteArray cmap =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    constexpr size_t kEntriesPerSection = 100;  // the most a CMap section may hold
    auto entry = map.begin();
    for (size_t left = map.size(); left > 0;) {
        const size_t count = std::min(left, kEntriesPerSection);
        cmap += QByteArray::number(static_cast<qulonglong>(count)) + " beginbfchar\n";
        for (size_t i = 0; i < count; ++i, ++entry) {
            cmap += '<' + QByteArray::number(entry->first, 16).rightJustified(4, '0').toUpper() + "> <" +
                    hexUtf16(entry->second) + ">\n";
        }
        cmap += "endbfchar\n";
        left -= count;
    }
    cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return cmap.toStdString();
}

// How often each text was drawn with each glyph of one font, in the order
// first drawn.
using GlyphTexts = std::map<unsigned, std::vector<std::pair<QString, int>>>;

void countText(GlyphTexts& texts, unsigned cid, const QString& text) {
    auto& seen = texts[cid];
    const auto it = std::find_if(seen.begin(), seen.end(), [&](const auto& entry) { return entry.first == text; });
    if (it != seen.end()) {
        ++it->second;
    } else {
        seen.emplace_back(text, 1);
    }
}

// A page's content and the pieces of text it shows, each with its glyphs.
struct Page {
    QPDFObjectHandle contents;
    std::string data;
    std::vector<Shown> glyphs;
    std::vector<std::pair<QString, std::vector<Shown>>> pieces;
};

// The glyphs of each piece; nothing when the page does not show the drawn
// glyphs. Pieces whose glyphs one operator shows together become one.
bool assignGlyphs(Page& page, const std::vector<DrawnText>& drawn) {
    size_t next = 0;
    for (const DrawnText& piece : drawn) {
        if (piece.glyphs <= 0 || next + static_cast<size_t>(piece.glyphs) > page.glyphs.size()) {
            return false;
        }
        const auto first = page.glyphs.begin() + static_cast<std::ptrdiff_t>(next);
        const auto last = first + piece.glyphs;
        if (!page.pieces.empty() && page.pieces.back().second.back().begin == first->begin) {
            page.pieces.back().first += piece.text;
            page.pieces.back().second.insert(page.pieces.back().second.end(), first, last);
        } else {
            page.pieces.emplace_back(piece.text, std::vector<Shown>(first, last));
        }
        next += static_cast<size_t>(piece.glyphs);
    }
    return next == page.glyphs.size();
}

// Marks each piece whose glyphs do not read back as its text with its text:
// a span around its glyphs in each text object they are in, the first with
// the text, any further ones with an empty text.
std::string markedContent(const Page& page, std::map<QPDFObjGen, ToUnicode>& toUnicode) {
    std::vector<std::pair<size_t, QByteArray>> inserts;
    for (const auto& [text, glyphs] : page.pieces) {
        QString readBack;
        for (const Shown& glyph : glyphs) {
            const ToUnicode& map = toUnicode[glyph.font];
            const auto it = map.find(glyph.cid);
            readBack += it != map.end() ? it->second : u"\uFFFD"_s;
        }
        if (readBack == text) {
            continue;
        }
        QByteArray actualText = "<FEFF" + hexUtf16(text) + '>';
        for (size_t i = 0; i < glyphs.size(); ++i) {
            if (i == 0 || glyphs[i].textObject != glyphs[i - 1].textObject) {
                inserts.emplace_back(glyphs[i].begin, "/Span <</ActualText " + actualText + ">> BDC ");
                actualText = "()";
            }
            if (i + 1 == glyphs.size() || glyphs[i + 1].textObject != glyphs[i].textObject) {
                inserts.emplace_back(glyphs[i].end, " EMC");
            }
        }
    }
    std::stable_sort(inserts.begin(), inserts.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string mended;
    mended.reserve(page.data.size() + inserts.size() * 40);
    size_t at = 0;
    for (const auto& [offset, text] : inserts) {
        mended.append(page.data, at, offset - at).append(text.constData(), static_cast<size_t>(text.size()));
        at = offset;
    }
    return mended.append(page.data, at);
}

}  // namespace

std::optional<QByteArray> MendTextLayer(const QByteArray& pdf, const DrawnPages& pages) {
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("printed document", pdf.constData(), static_cast<size_t>(pdf.size()));
        std::vector<QPDFPageObjectHelper> pageHelpers = QPDFPageDocumentHelper(document).getAllPages();
        if (pageHelpers.size() != pages.size()) {
            return std::nullopt;
        }

        std::map<QPDFObjGen, QPDFObjectHandle> fonts;
        std::vector<Page> content(pages.size());
        for (size_t p = 0; p < pages.size(); ++p) {
            QPDFPageObjectHelper& helper = pageHelpers[p];
            helper.coalesceContentStreams();
            Page& page = content[p];
            page.contents = helper.getObjectHandle().getKey("/Contents");
            const std::shared_ptr<Buffer> data = page.contents.getStreamData(qpdf_dl_generalized);
            page.data.assign(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
            std::optional<std::vector<Shown>> glyphs =
                shownGlyphs(page.data, helper.getAttribute("/Resources", false).getKey("/Font"), fonts);
            if (!glyphs) {
                return std::nullopt;
            }
            page.glyphs = std::move(*glyphs);
            if (!assignGlyphs(page, pages[p])) {
                return std::nullopt;
            }
        }

        // Each glyph reads back as the text most often drawn with it alone.
        std::map<QPDFObjGen, GlyphTexts> drawnWith;
        for (const Page& page : content) {
            for (const auto& [text, glyphs] : page.pieces) {
                if (glyphs.size() == 1) {
                    countText(drawnWith[glyphs.front().font], glyphs.front().cid, text);
                }
            }
        }
        std::map<QPDFObjGen, ToUnicode> toUnicode;
        for (auto& [id, font] : fonts) {
            QPDFObjectHandle stream = font.getKey("/ToUnicode");
            ToUnicode& map = toUnicode[id];
            if (stream.isStream()) {
                const std::shared_ptr<Buffer> data = stream.getStreamData(qpdf_dl_generalized);
                map = parseToUnicode(std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize()));
            }
            for (const auto& [cid, texts] : drawnWith[id]) {
                // On a tie the shorter text, without characters carried along
                // (a soft hyphen), or else the first drawn.
                map[cid] = std::max_element(texts.begin(), texts.end(), [](const auto& a, const auto& b) {
                               return a.second < b.second || (a.second == b.second && a.first.size() > b.first.size());
                           })->first;
            }
            const std::string cmap = writeToUnicode(map);
            if (stream.isStream()) {
                stream.replaceStreamData(cmap, QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
            } else {
                font.replaceKey("/ToUnicode", QPDFObjectHandle::newStream(&document, cmap));
            }
        }
        for (Page& page : content) {
            page.contents.replaceStreamData(markedContent(page, toUnicode), QPDFObjectHandle::newNull(),
                                            QPDFObjectHandle::newNull());
        }

        QPDFWriter writer(document);
        writer.setOutputMemory();
        writer.write();
        const std::shared_ptr<Buffer> written = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char*>(written->getBuffer()),
                          static_cast<qsizetype>(written->getSize()));
    } catch (const std::bad_alloc&) {
        throw;  // stops printing as any calculation that runs out of memory
    } catch (const std::exception&) {
        return std::nullopt;  // qpdf could not read or write the document
    }
}

QByteArray PdfToPrint(const QByteArray& pdf, const DrawnPages& pages) {
    static const QLoggingCategory printing("hcalc.printing");
    if (std::optional<QByteArray> mended = MendTextLayer(pdf, pages)) {
        return *std::move(mended);
    }
    qCWarning(printing, "The text layer of the printed PDF could not be set; it is printed as drawn");
    return pdf;
}

}  // namespace hcalc
