// Drawing the report on pages, as both ways of printing do (the PDF of the
// CUPS path, the spooler's printer on Windows): a page that the device cannot
// start ends the printing with the error box.

#include "report/paged_text.h"
#include "core/calculation.h"
#include "pages/look.h"
#include "support/fake_dialogs.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace hcalc {
namespace {

using namespace Qt::Literals::StringLiterals;

// A PDF writer that starts no page from the given request on, as a printer
// does whose spooler fails the job; it counts the pages asked for.
class PdfRefusingPages final : public QPdfWriter {
public:
    PdfRefusingPages(QIODevice* output, int refusedFrom) : QPdfWriter(output), m_refusedFrom(refusedFrom) {}

    bool newPage() override { return ++requests < m_refusedFrom && QPdfWriter::newPage(); }

    int requests = 0;

private:
    int m_refusedFrom;
};

QSizeF printableSize(const QPdfWriter& writer) {
    return writer.pageLayout().paintRectPixels(writer.resolution()).size();
}

TEST(PagedText, aPageThatCannotBeStartedStopsThePrintingWithTheErrorBox) {
    QStringList lines;
    for (int i = 1; i <= 300; ++i) {
        lines << u"第%1行 谐波计算方案"_s.arg(i);
    }
    const QTextDocument text(lines.join(u'\n'));
    QBuffer output;
    output.open(QIODevice::WriteOnly);
    {
        PdfRefusingPages accepting(&output, 1000);
        ASSERT_GE(DrawOnPages(accepting, text, look::songTi(), printableSize(accepting)).size(), 3u);
    }

    for (const int refusedFrom : {1, 2}) {
        SCOPED_TRACE(refusedFrom);
        PdfRefusingPages writer(&output, refusedFrom);
        test::FakeDialogs dialogs;
        RunCalculation(dialogs, [&] { DrawOnPages(writer, text, look::songTi(), printableSize(writer)); });
        EXPECT_EQ(dialogs.events, QStringList{u"fault:Printing failed."_s});
        EXPECT_EQ(writer.requests, refusedFrom);  // nothing drawn after the page that failed
    }
}

}  // namespace
}  // namespace hcalc
