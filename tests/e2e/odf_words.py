#!/usr/bin/env python3
"""Prints each word of a flat ODF text document's first paragraph as
LibreOffice formats it: word, weight, posture, size and font, tab-separated.
A span's automatic style is read over the paragraph's, which is read over
the document's default text properties."""
import sys
import xml.etree.ElementTree as ET

NS = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
    "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
}
KEYS = {"weight": ("fo", "font-weight"), "style": ("fo", "font-style"), "size": ("fo", "font-size"),
        "font": ("style", "font-name")}


def properties(element):
    found = {}
    props = element.find("style:text-properties", NS) if element is not None else None
    if props is not None:
        for key, (ns, name) in KEYS.items():
            value = props.get("{%s}%s" % (NS[ns], name))
            if value is not None:
                found[key] = value
    return found


root = ET.parse(sys.argv[1]).getroot()
styles = {s.get("{%s}name" % NS["style"]): s for s in root.iter("{%s}style" % NS["style"])}
base = {"weight": "normal", "style": "normal", "size": "", "font": ""}
base.update(properties(root.find(".//style:default-style[@style:family='paragraph']", NS)))
paragraph = root.find(".//office:text/text:p", NS)
base.update(properties(styles.get(paragraph.get("{%s}style-name" % NS["text"]))))


def walk(element, inherited):
    own = dict(inherited)
    own.update(properties(styles.get(element.get("{%s}style-name" % NS["text"]))))
    for word in (element.text or "").split():
        print("\t".join([word, own["weight"], own["style"], own["size"], own["font"]]))
    for child in element:
        walk(child, own)
        for word in (child.tail or "").split():
            print("\t".join([word, own["weight"], own["style"], own["size"], own["font"]]))


walk(paragraph, base)
