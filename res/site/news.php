<?php
// The news page of the site: shows the index page named by the parameter sitename, with the
// stylesheet and the page menu, from the fragments velmaro uploads into the folder data.
// data/artikel.php shows the article pages through this same file.
//
// sitename is taken only when it names one of those fragments (inhalt<n>.php or artikel<n>.php,
// relative to the folder of the page asked for); anything else shows the first index page. The
// file name read is built from the matched name alone, so no visitor can make the page read any
// other file. The fragments are sent as they are, never run: an article may hold "<?php".

$daten = __DIR__ . '/data/';
// Set by data/artikel.php, whose names carry no folder and whose links start one folder up.
$imDatenordner = isset($velmaroArtikelSeite);
$praefix = $imDatenordner ? '' : 'data/';

$fragment = 'inhalt1.php';
$wunsch = $_GET['sitename'] ?? '';
if (is_string($wunsch)
    && preg_match('/\A' . preg_quote($praefix, '/') . '((?:inhalt|artikel)[1-9][0-9]{0,8}\.php)\z/', $wunsch, $treffer)
    && is_file($daten . $treffer[1])) {
    $fragment = $treffer[1];
}

header('Content-Type: text/html; charset=windows-1252');
// No doctype: the stylesheet may hold lengths without a unit ("width:500"), which browsers apply
// only to pages without one.
?>
<html>
<head>
<meta charset="windows-1252">
<?php if ($imDatenordner) { ?>
<base href="../">
<?php } ?>
<title>Neuigkeiten</title>
<link rel="stylesheet" href="data/style.css">
<link rel="alternate" type="application/atom+xml" title="Newsfeed" href="data/feed.xml">
</head>
<body>
<?php
$menu = is_file($daten . 'inhalt0.php') ? file_get_contents($daten . 'inhalt0.php') : '';
if ($menu !== '') {
    // The menu ends inside an open table cell.
    echo $menu, "</td></tr></table>\n";
}
if (is_file($daten . $fragment)) {
    readfile($daten . $fragment);
} else {
    echo "<p>Noch keine Neuigkeiten.</p>\n";
}
?>
<p><a href="data/feed.xml">Newsfeed (Atom)</a></p>
</body>
</html>
