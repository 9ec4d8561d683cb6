// Writes the page: web/index.html with the help texts of every field (by help topic) and the
// section titles taken from the program's help file, so the panel explains each field as the
// dialog's help does. Usage: node web/make_page.js HELP.html TEMPLATE.html OUT.html
'use strict';
const fs = require('fs');
const [helpPath, templatePath, outPath] = process.argv.slice(2);
const html = fs.readFileSync(helpPath, 'utf8');
const plain = (s) => s.replace(/<[^>]*>/g, '').replace(/&lt;/g, '<').replace(/&gt;/g, '>')
  .replace(/&quot;/g, '"').replace(/&amp;/g, '&').replace(/\s+/g, ' ').trim();
const topics = {};
for (const m of html.matchAll(/<dt id="topic-(\d+)">([\s\S]*?)<\/dt>\s*<dd>([\s\S]*?)<\/dd>/g)) {
  topics[m[1]] = { title: plain(m[2].replace(/<span class="range">[\s\S]*?<\/span>/, '')), text: plain(m[3]) };
}
const parts = {};
for (const m of html.matchAll(/<h2 id="part-(\d+)">([\s\S]*?)<\/h2>/g)) parts[m[1]] = plain(m[2]);
if (Object.keys(topics).length < 50) throw new Error('help file: only ' + Object.keys(topics).length + ' topics');
const data = JSON.stringify({ topics, parts }).replace(/</g, '\\u003c');
const page = fs.readFileSync(templatePath, 'utf8');
if (!page.includes('/*HELP*/null')) throw new Error('page template: no help placeholder');
fs.writeFileSync(outPath, page.replace('/*HELP*/null', () => data));
