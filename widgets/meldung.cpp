#include "widgets/meldung.h"

#include <QMessageBox>
#include <QPushButton>

namespace velmaro {

namespace {
MeldungsHook& hook() {
    static MeldungsHook h;
    return h;
}

QString beschriftung(Antwort a) {
    switch (a) {
    case Antwort::Ok:
        return QStringLiteral("OK");
    case Antwort::Speichern:
        return QStringLiteral("Speichern und beenden");
    case Antwort::Verwerfen:
        return QStringLiteral("Ohne Speichern beenden");
    case Antwort::Zurueck:
        return QStringLiteral("Zurück");
    case Antwort::Ja:
        return QStringLiteral("Ja");
    case Antwort::Nein:
        return QStringLiteral("Nein");
    case Antwort::Uebernehmen:
        return QStringLiteral("Übernehmen");
    case Antwort::AenderungenBeiseite:
        return QStringLiteral("Verwerfen");
    case Antwort::WeiterSchreiben:
        return QStringLiteral("Weiter schreiben");
    case Antwort::ArtikelVerwerfen:
        return QStringLiteral("Artikel verwerfen");
    }
    return {};
}
} // namespace

void setMeldungsHook(MeldungsHook h) {
    hook() = std::move(h);
}

Antwort Frage(QWidget* owner, const QString& text, const QString& titel, const QList<Antwort>& antworten,
              std::optional<Antwort> standard) {
    const Antwort vorgabe = standard.value_or(antworten.value(0));
    if (hook())
        return hook()(Nachricht{text, titel, antworten, vorgabe});
    QMessageBox box(QMessageBox::NoIcon, titel, text, QMessageBox::NoButton, owner);
    QList<QPushButton*> knoepfe;
    for (Antwort a : antworten)
        knoepfe.append(box.addButton(beschriftung(a), QMessageBox::AcceptRole));
    box.setDefaultButton(knoepfe.value(static_cast<int>(antworten.indexOf(vorgabe))));
    box.setEscapeButton(knoepfe.value(knoepfe.size() - 1));
    box.exec();
    int i = knoepfe.indexOf(qobject_cast<QPushButton*>(box.clickedButton()));
    return i < 0 ? antworten.last() : antworten[i];
}

void Meldung(QWidget* owner, const QString& text, const QString& titel) {
    Frage(owner, text, titel, {Antwort::Ok});
}

} // namespace velmaro
