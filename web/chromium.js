// chromium.js: Debian's Chromium, headless, through playwright-core (which brings no browser
// of its own): the one launch the browser tests and web/measure.js share.
// playwright-core is found through NODE_PATH (tests/web/run.sh and web/measure.sh set it).
'use strict';
const { chromium } = require('playwright-core');

const FLAGS = ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

function launch() {
  return chromium.launch({ executablePath: '/usr/bin/chromium', args: FLAGS });
}

module.exports = { launch };
