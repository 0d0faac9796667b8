"""Reads a feed as feed readers do (Debian's python3-feedparser) and prints what they would show, one
line each, the ids last; also what RFC 4287 requires and feedparser forgives. Run by /usr/bin/python3."""
import calendar
import sys
import xml.etree.ElementTree as ET

import feedparser

A = '{http://www.w3.org/2005/Atom}'
wurzel = ET.parse(sys.argv[1]).getroot()
for wo, e in [('feed', wurzel)] + [('entry', e) for e in wurzel.findall(A + 'entry')]:
    if any(len(e.findall(A + n)) != 1 for n in ('id', 'title', 'updated')) or \
            (wo == 'entry' and len(e.findall(A + 'link[@rel="alternate"]')) != 1):
        print('fehler: unvollständiges', wo)
if wurzel.find(A + 'author/' + A + 'name') is None:
    print('fehler: feed ohne author/name')

d = feedparser.parse(sys.argv[1], sanitize_html=False, resolve_relative_uris=False)
print('version', d.version, 'bozo', d.bozo)
print('feed', d.feed.title, calendar.timegm(d.feed.updated_parsed), d.feed.link)
for e in d.entries:
    print('\t'.join([e.title, e.link, str(calendar.timegm(e.updated_parsed)), e.content[0].type,
                     e.content[0].value.replace('\r', '\\r').replace('\n', '\\n')]))
ids = [d.feed.id] + [e.id for e in d.entries]
print('ids', *ids, '' if len(set(ids)) == len(ids) else 'doppelt')
