// The page: the desktop program's windows as sections and dialogs, every
// event handed to the core's web session and everything drawn from the
// state it answers with. No rule of the program lives here.
import {openCore} from './core.js';
import {GridView} from './grid.js';

const $ = (id) => document.getElementById(id);

let core = null;
let state = null;
let chain = Promise.resolve();
const grids = {};
let pictureSvg = '';
let examples = [];

// ---- requests

// Requests run one after another; a question the core asks is put to the
// student and the request sent again with the answer.
function send(request) {
  const next = chain.then(() => perform(request));
  chain = next.catch(() => {});
  return next;
}

async function perform(request) {
  let made = {...request};
  for (;;) {
    const editors = {};
    for (const grid of Object.values(grids)) {
      const texts = grid.editorTexts();
      if (texts) editors[grid.name] = texts;
    }
    if (Object.keys(editors).length) made.editors = editors;
    const answer = core.request(made);
    if (answer.error) console.error(answer.error);
    render(answer.state);
    for (const message of answer.messages) await showMessage(message);
    if (answer.download) download(answer.download);
    if (answer.ask) {
      const value = await ask(answer.ask);
      made = {...request, [answer.ask.key]: value};
      continue;
    }
    placeFocus(answer.focus);
    return answer;
  }
}

function download(file) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([file.text], {type: `${file.type};charset=utf-8`}));
  link.download = file.name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

function placeFocus(focus) {
  if (!focus) return;
  if (focus === 'displacement') {
    $('txtDisplacementNode').focus();
    return;
  }
  const [grid, what] = focus.split('-');
  if (grids[grid]) grids[grid].focus(what);
}

// ---- dialogs

function modal(dialog, firstFocus) {
  return new Promise((resolve) => {
    dialog.addEventListener('close', () => resolve(dialog.returnValue), {once: true});
    dialog.returnValue = '';
    dialog.showModal();
    if (firstFocus) firstFocus.focus();
  });
}

function showMessage(message) {
  $('messageTitle').textContent = message.title || 'Tavrin';
  $('messageText').textContent = message.text;
  const dialog = $('dlgMessage');
  dialog.classList.toggle('warning', Boolean(message.title));
  return modal(dialog, $('messageOK'));
}
$('messageOK').addEventListener('click', () => $('dlgMessage').close('ok'));

// A question of buttons (the value of the one pressed; Escape the last),
// of a text (null when cancelled) or of a choice in a list (its value,
// null when cancelled).
async function ask(question) {
  const dialog = $('dlgAsk');
  $('askTitle').textContent = question.title || 'Tavrin';
  $('askText').textContent = question.question;
  const input = $('askInput');
  const choice = $('askChoice');
  const buttons = $('askButtons');
  input.hidden = question.kind !== 'text';
  choice.hidden = question.kind !== 'choice';
  buttons.innerHTML = '';
  const results = new Map();
  const addButton = (text, result) => {
    const button = document.createElement('button');
    button.textContent = text;
    button.addEventListener('click', () => dialog.close(String(results.size)));
    results.set(String(results.size), result);
    buttons.append(button);
    return button;
  };
  let first = null;
  if (question.kind === 'buttons') {
    for (const c of question.choices) first = first || addButton(c.text, () => c.value);
    const last = question.choices[question.choices.length - 1].value;
    const closed = await modal(dialog, first);
    return (results.get(closed) || (() => last))();
  }
  if (question.kind === 'text') {
    input.value = question.value || '';
    addButton('确定', () => input.value);
    addButton('取消', () => null);
    input.onkeydown = (e) => {
      if (e.key === 'Enter') {
        e.preventDefault();
        dialog.close('0');
      }
    };
    const closed = await modal(dialog, input);
    return (results.get(closed) || (() => null))();
  }
  choice.innerHTML = question.choices.map((c) => `<option value="${c.value}">${c.text}</option>`).join('');
  choice.selectedIndex = 0;
  choice.onkeydown = (e) => {
    if (e.key === 'Enter') {
      e.preventDefault();
      dialog.close('0');
    }
  };
  addButton('确定', () => Number(choice.value));
  addButton('取消', () => null);
  const closed = await modal(dialog, choice);
  return (results.get(closed) || (() => null))();
}

// ---- the menus

// "新建(&N)" as its text with the access key underlined, and the key.
function caption(text) {
  const at = text.indexOf('&');
  if (at < 0) return {html: text, key: ''};
  const key = text[at + 1];
  return {html: `${text.slice(0, at)}<u>${key}</u>${text.slice(at + 2)}`, key: key.toLowerCase()};
}

function closeMenus() {
  for (const list of document.querySelectorAll('#menubar ul')) list.hidden = true;
  for (const title of document.querySelectorAll('#menubar .menutitle')) title.setAttribute('aria-expanded', 'false');
}

function openMenu(title, list) {
  closeMenus();
  list.hidden = false;
  title.setAttribute('aria-expanded', 'true');
  const first = list.querySelector('button');
  if (first) first.focus();
}

function buildMenus(menus) {
  const bar = $('menubar');
  bar.innerHTML = '';
  const titles = [];
  for (const menu of menus) {
    const box = document.createElement('div');
    box.className = 'menu';
    const title = document.createElement('button');
    const shown = caption(menu.caption);
    title.className = 'menutitle';
    title.innerHTML = shown.html;
    title.dataset.key = shown.key;
    if (shown.key) title.setAttribute('aria-keyshortcuts', `Alt+${shown.key.toUpperCase()}`);
    title.setAttribute('aria-haspopup', 'menu');
    title.setAttribute('aria-expanded', 'false');
    const list = document.createElement('ul');
    list.setAttribute('role', 'menu');
    list.hidden = true;
    for (const entry of menu.entries) {
      const item = document.createElement('li');
      if (entry.request === '-') {
        item.className = 'separator';
        item.setAttribute('role', 'separator');
      } else if (entry.request === 'examples') {
        item.append(examplesMenu(entry.caption));
      } else {
        const button = document.createElement('button');
        const text = caption(entry.caption);
        button.innerHTML = text.html;
        button.dataset.key = text.key;
        button.setAttribute('role', 'menuitem');
        button.addEventListener('click', () => {
          closeMenus();
          command(entry.request);
        });
        item.append(button);
      }
      list.append(item);
    }
    title.addEventListener('click', () => (list.hidden ? openMenu(title, list) : closeMenus()));
    list.addEventListener('keydown', (e) => menuKey(e, list, titles, titles.length));
    box.append(title, list);
    bar.append(box);
    titles.push({title, list});
  }
  const heading = document.createElement('span');
  heading.id = 'windowTitle';
  bar.append(heading);
  document.addEventListener('mousedown', (e) => {
    if (!e.target.closest('#menubar')) closeMenus();
  });
}

function examplesMenu(text) {
  const box = document.createElement('details');
  box.className = 'submenu';
  const summary = document.createElement('summary');
  summary.textContent = `${text} ▸`;
  summary.setAttribute('role', 'menuitem');
  box.append(summary);
  for (const example of examples) {
    const button = document.createElement('button');
    button.textContent = example.title;
    button.setAttribute('role', 'menuitem');
    button.addEventListener('click', async () => {
      closeMenus();
      box.open = false;
      if ((await send({op: 'leave'})).proceed) await send({op: 'openExample', file: example.file});
    });
    box.append(button);
  }
  return box;
}

function menuKey(event, list, titles, index) {
  const items = [...list.querySelectorAll('button, summary')].filter((b) => b.offsetParent !== null);
  const at = items.indexOf(document.activeElement);
  if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
    event.preventDefault();
    const step = event.key === 'ArrowDown' ? 1 : items.length - 1;
    items[(at + step) % items.length].focus();
  } else if (event.key === 'ArrowLeft' || event.key === 'ArrowRight') {
    event.preventDefault();
    const next = titles[(index + (event.key === 'ArrowRight' ? 1 : titles.length - 1)) % titles.length];
    openMenu(next.title, next.list);
  } else if (event.key === 'Escape') {
    event.preventDefault();
    closeMenus();
    titles[index].title.focus();
  } else if (event.key.length === 1 && !event.ctrlKey && !event.altKey) {
    const match = items.find((b) => b.dataset.key === event.key.toLowerCase());
    if (match) {
      event.preventDefault();
      match.click();
    }
  }
}

// What a menu entry does.
async function command(request) {
  const [op, kind] = request.split(':');
  switch (op) {
    case 'new':
      if ((await send({op: 'leave'})).proceed) await send({op: 'new'});
      break;
    case 'open':
      if ((await send({op: 'leave'})).proceed) $('fileOpen').click();
      break;
    case 'save': {
      const name = await ask({kind: 'text', title: '保存', question: '文件名：', value: state.fileName || '结构.json'});
      if (name !== null) await send({op: 'save', name});
      break;
    }
    case 'report':
      await exportReport();
      break;
    case 'diagram':
      await send({op, kind});
      break;
    case 'help': {
      const answer = await send({op, topic: kind});
      if (answer.about) showAbout(answer.about);
      break;
    }
    case 'openInput':
      await send({op});
      $('cmbInput').focus();
      break;
    case 'openModelType':
      await send({op});
      $('Option1').focus();
      break;
    default:
      await send({op});
  }
}

$('fileOpen').addEventListener('change', async () => {
  const file = $('fileOpen').files[0];
  $('fileOpen').value = '';
  if (file) await send({op: 'open', name: file.name, text: await file.text()});
});

async function exportReport() {
  $('txtStudent').value = state.student;
  $('txtClass').value = state.className;
  if ((await modal($('dlgReportCover'), $('txtStudent'))) !== 'ok') return;
  const answer = await send({op: 'report', student: $('txtStudent').value, className: $('txtClass').value});
  if (!answer.report) return;
  const report = answer.report;
  $('reportFrame').srcdoc = report.text;
  $('cmdReportSave').onclick = () => download(report);
  await modal($('dlgReport'), $('cmdReportPrint'));
}
$('cmdCoverOK').addEventListener('click', () => $('dlgReportCover').close('ok'));
$('cmdCoverCancel').addEventListener('click', () => $('dlgReportCover').close('cancel'));
$('cmdReportPrint').addEventListener('click', () => $('reportFrame').contentWindow.print());
$('cmdReportClose').addEventListener('click', () => $('dlgReport').close());

function showAbout(about) {
  $('aboutTitle').textContent = about.caption;
  $('aboutProgram').textContent = about.title;
  $('aboutDescription').textContent = about.description;
  $('aboutDisclaimer').textContent = about.disclaimer;
  modal($('dlgAbout'), $('cmdAboutOK'));
}
$('cmdAboutOK').addEventListener('click', () => $('dlgAbout').close());

// ---- the forms' controls

function wire() {
  grids.input = new GridView($('inputGrid'), 'input', send);
  grids.units = new GridView($('unitGrid'), 'units', send);
  grids.answers = new GridView($('resultGrid'), 'answers', send);

  $('cmbInput').addEventListener('change', () => send({op: 'selectTable', index: Number($('cmbInput').value)}));
  $('cmdApplyInput').addEventListener('click', () => send({op: 'commit'}));
  $('cmdCancelInput').addEventListener('click', () => send({op: 'undo'}));
  $('cmdOKInput').addEventListener('click', () => send({op: 'hidePanel'}));
  $('cmdCloseInput').addEventListener('click', () => send({op: 'closeInput'}));

  for (const option of [$('Option1'), $('Option2')])
    option.addEventListener('change', () => {
      $('ModelFrame2').hidden = !$('Option2').checked;
      if ($('Option2').checked) $('txtDegree').focus();
    });
  $('OKButton').addEventListener('click', () =>
    send({op: 'acceptModelType', indeterminate: $('Option2').checked, degree: $('txtDegree').value}));
  $('txtDegree').addEventListener('keydown', (e) => {
    if (e.key === 'Enter') $('OKButton').click();
  });
  $('cmdCloseModelType').addEventListener('click', () => send({op: 'closeModelType'}));

  const items = $('cmbCalType');
  const selectItem = () => {
    if (items.selectedIndex >= 0) send({op: 'selectItem', index: items.selectedIndex});
  };
  items.addEventListener('click', selectItem);
  items.addEventListener('keydown', (e) => {
    if (e.key === 'Enter') {
      e.preventDefault();
      selectItem();
    }
  });
  $('cmdCal').addEventListener('click', () => send({op: 'calculate'}));
  $('cmdCheck').addEventListener('click', () => send({op: 'check'}));
  $('cmdCaseDiagram').addEventListener('click', () => send({op: 'caseDiagram'}));
  $('cmdLedger').addEventListener('click', () => send({op: 'view', view: 'ledger'}));
  $('cmdReactions').addEventListener('click', () => send({op: 'view', view: 'reactions'}));
  $('cmdChecks').addEventListener('click', () => send({op: 'view', view: 'checks'}));
  $('cmdFrmClose').addEventListener('click', () => send({op: 'closeResult'}));
  $('cmdApply').addEventListener('click', () => send({op: 'apply'}));
  $('cmdOK').addEventListener('click', () => send({op: 'confirm'}));
  $('cmdDisplacement').addEventListener('click', () =>
    send({op: 'displacement', node: $('txtDisplacementNode').value, kind: $('cmbDisplacementKind').value}));
  $('cmdClose').addEventListener('click', () => send({op: 'closeCalculation'}));

  $('cmdRecommend').addEventListener('click', () => send({op: 'recommendBasicSystem'}));
  $('cmdBasicOK').addEventListener('click', () => {
    const ticked = [...$('basicRestraints').querySelectorAll('input')].map((box) => box.checked);
    send({op: 'acceptBasicSystem', ticked});
  });
  $('cmdBasicCancel').addEventListener('click', () => send({op: 'cancelBasicSystem'}));
  $('dlgBasicSystem').addEventListener('cancel', (e) => {
    e.preventDefault();
    send({op: 'cancelBasicSystem'});
  });

  // The picture follows the size of its area.
  let resizing = null;
  new ResizeObserver(() => {
    clearTimeout(resizing);
    resizing = setTimeout(fitPicture, 150);
  }).observe($('pictureArea'));
}

function fitPicture() {
  if (!state) return;
  const area = $('pictureArea');
  const [x, y] = state.picture.pixelsPerUnit;
  const width = Math.floor(area.clientWidth / x);
  const height = Math.floor(area.clientHeight / y);
  if (width < 50 || height < 50) return;
  if (Math.abs(width - state.picture.width) >= 1 || Math.abs(height - state.picture.height) >= 1)
    send({op: 'resize', width, height});
}

// ---- drawing the state

function options(select, texts, selected) {
  const html = texts.map((t, i) => `<option value="${i}">${t}</option>`).join('');
  if (select.dataset.html !== html) {
    select.innerHTML = html;
    select.dataset.html = html;
  }
  select.selectedIndex = selected;
}

function render(next) {
  const previous = state;
  state = next;
  document.title = state.title;
  $('windowTitle').textContent = state.title;

  $('pictureCaption').textContent = state.picture.caption;
  if (state.picture.svg !== pictureSvg) {
    pictureSvg = state.picture.svg;
    $('pictureArea').innerHTML = pictureSvg;
  }

  const input = state.input;
  $('frmInputPara').hidden = !input.shown;
  $('inputCaption').textContent = input.caption;
  options($('cmbInput'), input.choices, input.table);
  $('Frame1').hidden = !input.panelVisible;
  $('panelCaption').textContent = input.panelCaption;
  grids.input.render(input.grid);

  const opening = state.modelType.shown && !(previous && previous.modelType.shown);
  if (opening) {
    $('Option1').checked = true;
    $('txtDegree').value = '';
    $('ModelFrame2').hidden = true;
  }
  $('dlgModelType').hidden = !state.modelType.shown;

  const calc = state.calculation;
  $('frmOutput').hidden = !calc.shown;
  $('outputCaption').textContent = calc.caption;
  const items = $('cmbCalType');
  items.size = Math.max(calc.items.length, 2);
  options(items, calc.items.map((item) => `${item.stands ? '✓' : '　'} ${item.text}`), calc.selected);
  $('cmdCal').disabled = !calc.calEnabled;
  $('cmdCheck').disabled = !calc.calEnabled;
  $('cmdCaseDiagram').disabled = !calc.caseDiagramEnabled;
  $('cmdLedger').disabled = !calc.ledgerEnabled;
  $('cmdReactions').disabled = !calc.reactionsEnabled;
  $('cmdChecks').disabled = !calc.checksEnabled;
  $('cmdDisplacement').disabled = !calc.displacementEnabled;
  const kinds = $('cmbDisplacementKind');
  options(kinds, calc.displacementKinds, Math.max(kinds.selectedIndex, 0));
  kinds.querySelectorAll('option').forEach((o, i) => (o.value = calc.displacementKinds[i]));
  $('Frame2').hidden = !calc.result.visible;
  $('resultCaption').textContent = calc.result.caption;
  $('lblSigns').textContent = calc.result.signs;
  $('Frame2').classList.toggle('answering', calc.result.answering);
  grids.answers.render(calc.result.grid, calc.result.marks);
  $('Frame3').hidden = !calc.input.visible;
  $('unitCaption').textContent = calc.input.caption;
  $('cmdApply').hidden = !calc.input.applyVisible;
  grids.units.render(calc.input.grid);

  renderChoice(state.choice);
}

function renderChoice(choice) {
  const dialog = $('dlgBasicSystem');
  if (!choice) {
    if (dialog.open) dialog.close();
    return;
  }
  $('basicTitle').textContent = choice.title;
  $('basicLead').textContent = choice.lead;
  const boxes = $('basicRestraints');
  boxes.innerHTML = '';
  choice.restraints.forEach((r, i) => {
    const label = document.createElement('label');
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.id = `chkRestraint${i + 1}`;
    box.checked = r.ticked;
    label.append(box, ` ${r.text}`);
    boxes.append(label);
  });
  $('basicNote').textContent = choice.note;
  const rows = choice.comparison;
  $('basicComparison').innerHTML = rows.length === 0 ? '' :
    '<table><thead><tr>' + rows[0].map((t) => `<th>${t}</th>`).join('') + '</tr></thead><tbody>' +
    rows.slice(1).map((row) => '<tr>' + row.map((t) => `<td>${t}</td>`).join('') + '</tr>').join('') +
    '</tbody></table>';
  if (!dialog.open) {
    dialog.showModal();
    const first = boxes.querySelector('input');
    if (first) first.focus();
  }
}

// Alt and a letter presses the menu title or the button whose caption
// underlines it, as on the desktop; the visible one nearest the top of the
// dialogs open, else of the page.
document.addEventListener('keydown', (event) => {
  if (!event.altKey || event.ctrlKey || event.metaKey || event.key.length !== 1) return;
  const key = event.key.toLowerCase();
  const dialogs = [...document.querySelectorAll('dialog[open]')];
  const scope = dialogs.length ? dialogs[dialogs.length - 1] : document;
  const target = [...scope.querySelectorAll('[data-key]')].find(
    (e) => e.dataset.key === key && !e.disabled && e.offsetParent !== null && !e.closest('ul[role="menu"]'));
  if (!target) return;
  event.preventDefault();
  target.focus();
  target.click();
});

// ---- start

async function start() {
  core = await openCore();
  examples = core.request({op: 'examples'}).examples;
  buildMenus(core.request({op: 'menus'}).menus);
  wire();
  $('loading').remove();
  await send({op: 'state'});
  fitPicture();
  // A link opens a case (relative to the page) and may run it to its end.
  const params = new URLSearchParams(location.search);
  const file = params.get('case');
  if (file) {
    const name = file.split('/').pop();
    try {
      const response = await fetch(file);
      if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
      await send({op: 'open', name, text: await response.text()});
      if (params.get('run') === 'all' && state.fileName === name) await send({op: 'runAll'});
    } catch (fault) {
      await send({op: 'open', name, fault: String(fault.message || fault)});
    }
  }
  await chain;
  document.body.dataset.ready = 'true';
}

start();
