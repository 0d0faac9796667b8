#include "ui/uploadfortschritt.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmaro {

UploadFortschritt::UploadFortschritt(QWidget* parent, std::function<void()> abbrechen)
    : QDialog(parent)
    , m_abbrechen(std::move(abbrechen)) {
    setWindowTitle(QStringLiteral("Update Website"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    m_zaehler = new QLabel(QStringLiteral("Die Seiten werden erstellt …"), this);
    m_datei = new QLabel(this);
    m_datei->setMinimumWidth(m_datei->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
    m_balken = new QProgressBar(this);
    m_balken->setRange(0, 0);
    m_btnAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_btnAbbrechen->setAutoDefault(false);
    layout->addWidget(m_zaehler);
    layout->addWidget(m_datei);
    layout->addWidget(m_balken);
    layout->addWidget(m_btnAbbrechen, 0, Qt::AlignRight);
    connect(m_btnAbbrechen, &QPushButton::clicked, this, &UploadFortschritt::reject);
}

void UploadFortschritt::DateienSetzen(int dateien) {
    m_dateien = dateien;
    m_gesendet = 0;
    m_balken->setRange(0, dateien);
    m_balken->setValue(0);
    ZaehlerZeigen();
}

void UploadFortschritt::DateiGesendet() {
    ++m_gesendet;
    m_balken->setValue(m_gesendet);
    ZaehlerZeigen();
}

void UploadFortschritt::AktuelleDatei(const QString& name) {
    m_datei->setText(name);
}

void UploadFortschritt::ZaehlerZeigen() {
    m_zaehler->setText(QStringLiteral("%1 von %2 %3 gesendet")
                           .arg(m_gesendet)
                           .arg(m_dateien)
                           .arg(m_dateien == 1 ? QStringLiteral("Datei") : QStringLiteral("Dateien")));
}

void UploadFortschritt::reject() {
    // The window closes when the upload has stopped, not before.
    if (!m_btnAbbrechen->isEnabled())
        return;
    m_btnAbbrechen->setEnabled(false);
    m_datei->setText(QStringLiteral("Wird nach der laufenden Datei abgebrochen …"));
    m_abbrechen();
}

} // namespace velmaro
