<?php
// An article page of the site's news, shown like news.php shows an index page: sitename names
// artikel<n>.php in this folder.
$velmaroArtikelSeite = true;
require __DIR__ . '/../news.php';
