// "Update Website": generates output/ and hands over to the upload.
#include "site/generator.h"
#include "ui/velmarodlg.h"

#include "platform/unicode.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

namespace velmaro {

void VelmaroDlg::OnUpdateWebsite() {
    // Until the upload enables it again: no second run while files are being sent.
    m_btnUpdate->setEnabled(false);
    WebsiteErzeugen(*this, [this] { Ereignisanzeige(4); });
    if (!m_fehlendeDateien.empty()) {
        // The line has room for a few names; a full disk can fail thousands of files.
        constexpr std::size_t kGezeigt = 3;
        QStringList namen;
        for (std::size_t i = 0; i < m_fehlendeDateien.size() && i < kGezeigt; ++i)
            namen << zuUnicode(m_fehlendeDateien[i]);
        if (m_fehlendeDateien.size() > kGezeigt)
            namen << QStringLiteral("und %1 weitere").arg(m_fehlendeDateien.size() - kGezeigt);
        m_ereignisText =
            QStringLiteral("Die Dateien wurden nicht vollständig erstellt!\nNicht geschrieben: ") +
            namen.join(QStringLiteral(", "));
        m_ereignis->setText(m_ereignisText);
        m_ereignis->repaint();
    }
    DatenUebertragen(m_anzahlSeiten, m_anzahlArtikel);
}

void VelmaroDlg::OnSelchangeProSeite() {
    const int index = m_comboProSeite->currentIndex();
    if (index >= 0)
        m_artikelProSeite = std::to_string(index + 5);
}

} // namespace velmaro
