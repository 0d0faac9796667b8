#pragma once
// Helpers of the window tests: message boxes answered and recorded instead of shown, and the main
// window driven on a folder of articles.

#include "ui/velmarodlg.h"
#include "widgets/meldung.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QtTest/QTest>

#include <functional>

namespace velmaro::test {

// While it lives, every message box is recorded and answered from the queue (OK when empty).
class MeldungsRekorder {
public:
    MeldungsRekorder();
    ~MeldungsRekorder();

    void naechsteAntwort(Antwort a) { m_antworten.append(a); }
    const QList<Nachricht>& nachrichten() const { return m_nachrichten; }
    QStringList texte() const {
        QStringList t;
        for (const auto& n : m_nachrichten)
            t << n.text;
        return t;
    }
    void leeren() { m_nachrichten.clear(); }

private:
    QList<Nachricht> m_nachrichten;
    QList<Antwort> m_antworten;
};

// The folder's data/ written with these articles at five per page.
inline void ordnerAnlegen(const std::filesystem::path& ordner, const QList<Artikel>& artikel) {
    VelmaroZustand z;
    z.m_ordner = ordner;
    z.m_artikelProSeite = "5";
    for (const Artikel& a : artikel)
        z.m_artikelListe.addTail(a);
    QVERIFY(z.DateienSchreiben().empty());
}

inline QList<Artikel> liste(const VelmaroDlg& dlg) {
    return {dlg.m_zustand.m_artikelListe.begin(), dlg.m_zustand.m_artikelListe.end()};
}

// A double click comes as the window system delivers it: a click, then the double click.
inline void zeileKlicken(VelmaroDlg& dlg, int zeile, bool doppelt = false) {
    auto* l = dlg.m_editor.m_listeArtikel;
    const QPoint p = l->visualItemRect(l->item(zeile)).center();
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, p);
    if (doppelt)
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, p);
}

// Enabled controls (list, save, delete, new, edit, headline, body, date; '.' when off, upper case
// for the one with the focus) and, unless kurz, the list box lines.
inline QString stand(const VelmaroDlg& d, bool kurz = false) {
    const QWidget* w[] = {d.m_editor.m_listeArtikel,   d.m_editor.m_btnSpeichern,
                          d.m_editor.m_btnLoeschen,    d.m_editor.m_btnNeu,
                          d.m_editor.m_btnBearbeiten,  d.m_editor.m_editUeberschrift,
                          d.m_editor.m_editTextinhalt, d.m_editor.m_ctrlDatum};
    QString s = QStringLiteral("lsxnehtd");
    for (int i = 0; i < 8; ++i)
        s[i] = !w[i]->isEnabled() ? u'.' : w[i]->hasFocus() ? s[i].toUpper() : s[i];
    for (int i = 0; !kurz && i < d.m_editor.m_listeArtikel->count(); ++i)
        s += QStringLiteral(" | ") + d.m_editor.m_listeArtikel->item(i)->text();
    return s;
}

inline void klicken(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton);
}

// Runs tun on the modal dialog that oeffnen opens, then rejects it if still open (so that a failed
// check does not hang the test). True when tun closed it.
template <class Dialog>
bool imDialog(const std::function<void()>& oeffnen, const std::function<void(Dialog*)>& tun) {
    bool geschlossen = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        tun(d);
        geschlossen = !d->isVisible();
        if (d->isVisible())
            d->reject();
    });
    oeffnen();
    return geschlossen;
}

} // namespace velmaro::test
