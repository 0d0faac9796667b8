#pragma once
// The site generator: the stylesheet and the news pages as bytes, and the run of "Update Website"
// that writes them into output/. Shared by the window and the batch mode.

#include "app/zustand.h"

#include <functional>
#include <string>

namespace velmaro {

// The stylesheet text built from m_einstellungen[4..19] and the four style flags.
std::string StylesheetText(const VelmaroZustand& z);

// Writes style.css, inhalt1.php ... with the article pages, and inhalt0.php into z.ausgabeOrdner(),
// as "Update Website" does (creating the folder when missing). Sets z.m_anzahlSeiten,
// z.m_anzahlArtikel and z.m_fehlendeDateien; calls ersteSeite once inhalt1.php has been created.
void WebsiteErzeugen(VelmaroZustand& z, const std::function<void()>& ersteSeite = {});

} // namespace velmaro
