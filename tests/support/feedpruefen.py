"""Reads a feed as feed readers do (Debian's python3-feedparser) and prints what they would show, one
line each, the ids last. Run by /usr/bin/python3."""
import calendar
import sys

import feedparser

d = feedparser.parse(sys.argv[1], sanitize_html=False, resolve_relative_uris=False)
print('version', d.version, 'bozo', d.bozo)
print('feed', d.feed.title, calendar.timegm(d.feed.updated_parsed), d.feed.link)
for e in d.entries:
    print('\t'.join([e.title, e.link, str(calendar.timegm(e.updated_parsed)), e.content[0].type,
                     e.content[0].value.replace('\r', '\\r').replace('\n', '\\n')]))
ids = [d.feed.id] + [e.id for e in d.entries]
print('ids', *ids, '' if len(set(ids)) == len(ids) else 'doppelt')
