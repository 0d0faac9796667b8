// The article editor: new, view, edit, delete and save articles.
#include "ui/velmarodlg.h"

namespace velmaro {

void VelmaroDlg::OnSelchangeListe() {}
void VelmaroDlg::OnDblclkListe() {}
void VelmaroDlg::OnNeuerArtikel() {}
void VelmaroDlg::OnArtikelSpeichern() {}
void VelmaroDlg::OnArtikelLoeschen() {}
void VelmaroDlg::OnArtikelBearbeiten() {}
void VelmaroDlg::FelderLeeren() {}
void VelmaroDlg::FelderFreigeben(bool) {}
bool VelmaroDlg::ArtikelAnzeigen(const std::string&) { return false; }

} // namespace velmaro
