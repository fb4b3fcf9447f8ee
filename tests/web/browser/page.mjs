// The web page in the system's chromium, headless, driven through the
// DevTools protocol (puppeteer-core; no browser of its own), served from its
// build folder by Python's http.server:
//   - an example opened from the 示例 menu and worked item by item, X1 and
//     the final end moments compared with the batch tool's JSON;
//   - a link index.html?case=…&run=all showing the last table;
//   - a node table typed by keys and committed, and a refused commit's
//     Chinese message;
//   - a student typing the propped cantilever whole by keys (model type,
//     four tables, the unit force) and working it to its end.
//   TAVRIN_WEB_DRIVER=DIR node page.mjs WEB_DIR BATCH EXAMPLES_DIR CHROMIUM [--screenshots DIR]
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import {createRequire} from 'node:module';
import path from 'node:path';
import {batchResult, Checks} from './compare.mjs';

// The driver installed into the build folder (TAVRIN_WEB_DRIVER, its
// node_modules' folder) by scripts/test-web.
const puppeteer = createRequire(path.join(process.env.TAVRIN_WEB_DRIVER, 'package.json'))('puppeteer-core');

const [web, batch, examples, chromium, ...rest] = process.argv.slice(2);
const shots = rest[0] === '--screenshots' ? rest[1] : null;
if (shots) fs.mkdirSync(shots, {recursive: true});
const checks = new Checks('web page in chromium');
const propped = batchResult(batch, path.join(examples, 'propped-cantilever.json'));
const stepOf = (item) => propped.steps.find((s) => s.item === item);

// ---- the server and the browser

function serve(dir) {
  return new Promise((resolve, reject) => {
    const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '--directory', dir],
                         {stdio: ['ignore', 'pipe', 'pipe']});
    server.stdout.on('data', (data) => {
      const port = /port (\d+)/.exec(String(data));
      if (port) resolve({server, url: `http://127.0.0.1:${port[1]}/`});
    });
    server.on('exit', (code) => reject(new Error(`http.server ended (${code})`)));
  });
}

const {server, url} = await serve(web);
const browser = await puppeteer.launch({
  executablePath: chromium,
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--lang=zh-CN'],
  defaultViewport: {width: 1366, height: 768},
});

async function openPage(query = '') {
  const page = await browser.newPage();
  page.on('pageerror', (e) => checks.check(false, `page error: ${e.message}`));
  await page.goto(url + 'index.html' + query);
  await page.waitForSelector('body[data-ready="true"]', {timeout: 30000});
  return page;
}

const settle = (page) => page.evaluate(() => new Promise((r) => requestAnimationFrame(() => setTimeout(r, 0))));

async function shoot(page, name) {
  if (shots) await page.screenshot({path: path.join(shots, `${name}.png`)});
}

// The message box open, its text; null when none is.
async function message(page) {
  await settle(page);
  return page.evaluate(() => (document.getElementById('dlgMessage').open ?
    document.getElementById('messageText').textContent : null));
}

async function noMessage(page, what) {
  const text = await message(page);
  checks.check(text === null, `${what}: message “${text}”`);
  if (text !== null) await page.keyboard.press('Enter');
}

async function menu(page, title, entry) {
  await page.evaluate((title, entry) => {
    const titles = [...document.querySelectorAll('#menubar .menutitle')];
    titles.find((b) => b.textContent.startsWith(title)).click();
    const items = [...document.querySelectorAll('#menubar li button, #menubar summary')];
    const found = items.find((b) => b.textContent.replace(/\s/g, '').startsWith(entry));
    if (found.tagName === 'SUMMARY') found.parentElement.open = true;
    found.click();
  }, title, entry);
  await settle(page);
}

async function gridCells(page, id) {
  return page.evaluate((id) => [...document.querySelectorAll(`#${id} tr`)].map((tr) =>
    [...tr.children].map((c) => c.textContent)), id);
}

async function shownTable(page) {
  const rows = await gridCells(page, 'resultGrid');
  // The grid's rows past the table's own are empty.
  while (rows.length > 1 && rows[rows.length - 1].every((c) => c === '')) rows.pop();
  return rows;
}

async function items(page) {
  return page.evaluate(() => [...document.querySelectorAll('#cmbCalType option')].map((o) => o.textContent));
}

async function clickItem(page, index) {
  await page.click(`#cmbCalType option:nth-child(${index + 1})`);
  await settle(page);
}

// ---- typing as a student does

// A number: its keys, then Enter.
async function typeCell(page, text) {
  await page.keyboard.type(text);
  await page.keyboard.press('Enter');
  await settle(page);
}

// An entry of a list column: Space opens the list, the arrows go to the
// entry, Enter chooses it.
async function chooseCell(page, entry) {
  await page.keyboard.press('Space');
  await settle(page);
  const at = await page.evaluate((entry) => {
    const list = document.activeElement;
    return list.tagName === 'SELECT' ? [...list.options].findIndex((o) => o.value === entry) - list.selectedIndex : null;
  }, entry);
  if (!checks.check(at !== null && at > -100, `list open for “${entry}”`)) return;
  for (let i = 0; i < Math.abs(at); ++i) await page.keyboard.press(at > 0 ? 'ArrowDown' : 'ArrowUp');
  await page.keyboard.press('Enter');
  await settle(page);
}

// Cells of one row in order: numbers typed, list entries (in braces) chosen.
async function typeRow(page, cells) {
  for (const cell of cells) {
    if (cell.startsWith('{')) await chooseCell(page, cell.slice(1, -1));
    else await typeCell(page, cell);
  }
}

async function chooseTable(page, index) {
  await page.select('#cmbInput', String(index));
  await settle(page);
}

// Every item in turn: the input it asks for applied and confirmed as
// shown, then 计算(C).
async function workThrough(page, what) {
  const count = (await items(page)).length;
  for (let i = 0; i < count; ++i) {
    await clickItem(page, i);
    if (await page.$eval('#Frame3', (f) => !f.hidden)) {
      if (await page.$eval('#cmdApply', (b) => !b.hidden)) await page.click('#cmdApply');
      await noMessage(page, `${what}: item ${i + 1} applied`);
      await page.click('#cmdOK');
      await noMessage(page, `${what}: item ${i + 1} confirmed`);
    }
    await page.click('#cmdCal');
    await noMessage(page, `${what}: item ${i + 1} calculated`);
  }
  const marked = await items(page);
  checks.check(marked.every((t) => t.startsWith('✓')), `${what}: every item calculated: ${marked}`);
}

// X1 and the final end moments of the propped cantilever as the page shows
// them, against the batch tool's tables and numbers.
async function compareWithBatch(page, what) {
  const texts = (await items(page)).map((t) => t.slice(2));
  await clickItem(page, texts.indexOf('未知力求解'));
  await page.click('#cmdCal');
  await settle(page);
  const unknowns = await shownTable(page);
  checks.equal(unknowns, stepOf('未知力求解').table, `${what}: table of X`);
  checks.check(Math.abs(Number(unknowns[1][1]) - propped.redundants[0]) < 5e-4,
               `${what}: X1 ${unknowns[1][1]} instead of ${propped.redundants[0]}`);
  await clickItem(page, texts.indexOf('构件总内力'));
  await page.click('#cmdCal');
  await settle(page);
  const forces = await shownTable(page);
  checks.equal(forces, stepOf('构件总内力').table, `${what}: table of the final end forces`);
  propped.elements.forEach((e, i) => {
    checks.check(Math.abs(Number(forces[i + 1][3]) - e.Mi) < 5e-3 && Math.abs(Number(forces[i + 1][6]) - e.Mj) < 5e-3,
                 `${what}: member ${i + 1} Mi ${forces[i + 1][3]} Mj ${forces[i + 1][6]} instead of ${e.Mi} ${e.Mj}`);
  });
}

// ---- the tests

try {
  // An example from the menu, worked item by item.
  {
    const page = await openPage();
    await shoot(page, '1-start');
    await menu(page, '文件', '示例');
    await menu(page, '文件', '一端固定一端活动的超静定梁');
    checks.check((await page.title()) === 'Tavrin - 一端固定一端活动的超静定梁（示例）', `title ${await page.title()}`);
    await menu(page, '求解', '计算类型分析');
    await noMessage(page, 'example analysed');
    checks.equal((await items(page)).map((t) => t.slice(2)), propped.items, 'example: items');
    await workThrough(page, 'example');
    await compareWithBatch(page, 'example');
    await shoot(page, '2-result-table');
    await page.click('#cmdLedger');
    await settle(page);
    checks.check((await page.$eval('#resultCaption', (e) => e.textContent)).startsWith('图乘明细'), 'ledger shown');
    await shoot(page, '3-ledger');
    await menu(page, '显示内力图', '弯矩图');
    await page.keyboard.press('Enter');  // the scale left empty: the automatic scale
    await settle(page);
    checks.equal(await page.$eval('#pictureCaption', (e) => e.textContent), '弯矩图', 'moment diagram drawn');
    // M = 16 · 3 − 5 · 6 = 18 at the fixed end, 5 · 3 = 15 under the load.
    checks.check(await page.$eval('#pictureArea', (e) => ['>18.</text>', '>15.</text>'].every((t) => e.innerHTML.includes(t))),
                 'moment diagram labels 18 at the fixed end and 15 under the load');
    await shoot(page, '4-moment-diagram');
    await menu(page, '文件', '导出计算书');
    await page.type('#txtStudent', '张三');
    await page.click('#cmdCoverOK');
    await page.waitForFunction(() => document.getElementById('dlgReport').open);
    const frame = await (await page.$('#reportFrame')).contentFrame();
    await frame.waitForFunction(() => document.body && document.body.textContent.includes('力法典型方程'));
    checks.check(await frame.evaluate(() => document.body.textContent.includes('张三')), 'report names the student');
    await shoot(page, '5-report');
    await page.close();
  }

  // A link that opens a case and runs it to its end.
  {
    const page = await openPage('?case=examples/propped-cantilever.json&run=all');
    const last = propped.steps[propped.steps.length - 1];
    checks.equal(await page.$eval('#resultCaption', (e) => e.textContent), last.title, 'link: last title');
    checks.equal(await shownTable(page), last.table, 'link: last table');
    await page.close();
  }

  // A node table typed by keys; a refused commit says why.
  {
    const page = await openPage();
    await menu(page, '建立计算模型', '输入图形数据');
    await chooseTable(page, 0);
    await typeRow(page, ['1', '0', '0', '{刚接}']);
    await typeRow(page, ['2', '4', '0', '{刚接}']);
    checks.equal((await gridCells(page, 'inputGrid')).slice(0, 3),
                 [['结点号', 'x坐标', 'y坐标', '结点类型'], ['1', '0', '0', '刚接'], ['2', '4', '0', '刚接']],
                 'node table typed');
    await page.click('#cmdApplyInput');
    await noMessage(page, 'node table committed');
    checks.check(await page.$eval('#pictureArea', (e) => e.innerHTML.includes('> 2 </text>')), 'nodes drawn');
    await page.focus('#inputGrid .scroller');
    await page.keyboard.press('ArrowUp');
    await settle(page);
    await typeCell(page, '3');
    await page.click('#cmdApplyInput');
    checks.equal(await message(page), '第2行“结点号”列：结点号应为2（各行依次为1、2、3…），本表未提交!',
                 'refused commit\'s message');
    await shoot(page, '6-refused-commit');
    await page.keyboard.press('Enter');
    await page.close();
  }

  // A student types the propped cantilever and works it through.
  {
    const page = await openPage();
    await menu(page, '建立计算模型', '静定/超静定问题');
    await page.keyboard.press('ArrowRight');  // 超静定结构
    await settle(page);
    await page.keyboard.type('1');
    await page.keyboard.press('Enter');
    await noMessage(page, 'degree');
    await menu(page, '建立计算模型', '输入图形数据');
    const tables = [
      [['1', '0', '0', '{刚接}'], ['2', '3', '0', '{刚接}'], ['3', '6', '0', '{自由端}']],
      [['1', '2', '1', '2'], ['2', '2', '2', '3']],
      [['1', '{固定支座}', '{结点左侧}']],
      [['{集中荷载}', '2', '{向下}', '16']],
    ];
    for (const [index, rows] of tables.entries()) {
      await chooseTable(page, index);
      for (const row of rows) await typeRow(page, row);
      if (index === 3) await shoot(page, '7-typed-loads');
      await page.click('#cmdApplyInput');
      await noMessage(page, `typed table ${index}`);
    }
    await page.click('#cmdOKInput');
    await menu(page, '求解', '计算类型分析');
    await noMessage(page, 'typed structure analysed');
    const texts = (await items(page)).map((t) => t.slice(2));
    checks.equal(texts, propped.items, 'typed: items');
    for (let i = 0; i < texts.length; ++i) {
      await clickItem(page, i);
      if (await page.$eval('#Frame3', (f) => !f.hidden)) {
        // The unit force X1: upward at node 3.
        await typeRow(page, ['{集中荷载}', '3', '{向上}']);
        await page.click('#cmdApply');
        await noMessage(page, 'unit force applied');
        await page.click('#cmdOK');
      }
      await page.keyboard.down('Alt');
      await page.keyboard.press('c');  // 计算(C)
      await page.keyboard.up('Alt');
      await noMessage(page, `typed: item ${i + 1}`);
    }
    await shoot(page, '8-typed-worked');
    await compareWithBatch(page, 'typed');
    await page.close();
  }
} catch (fault) {
  checks.check(false, fault.stack);
} finally {
  await browser.close();
  server.kill();
}
process.exit(checks.finish() ? 0 : 1);
