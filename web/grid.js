// A grid of the forms in the page: a table of cell texts with its header
// row, a current cell, and the two floating editors (a text box for a typed
// column, a list for a list column) over it. The page never edits a cell
// itself: it hands the student's keys and clicks to the core's cell-editor
// rules, as the desktop's grid widget does, and draws what they leave.

const kTwipsPerPixel = 15;  // 1440 twips an inch, 96 pixels an inch

// The codes the cell-editor rules know a key by (13 Enter, 27 Escape, 8
// Backspace, 32 Space, else the character's code point); null for a key
// that types nothing.
export function typedKeyCode(event) {
  if (event.ctrlKey || event.altKey || event.metaKey) return null;
  switch (event.key) {
    case 'Enter': return 13;
    case 'Escape': return 27;
    case 'Backspace': return 8;
    case ' ': return 32;
  }
  return [...event.key].length === 1 ? event.key.codePointAt(0) : null;
}

function escaped(text) {
  return String(text).replace(/[&<>"]/g, (c) => ({'&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;'}[c]));
}

export class GridView {
  // `name` is the grid's name in the requests ("input", "units",
  // "answers"); `send` makes a request of the page.
  constructor(container, name, send) {
    this.name = name;
    this.send = send;
    this.grid = null;
    this.rendering = false;
    container.classList.add('gridview');
    container.innerHTML = '';
    this.scroller = document.createElement('div');
    this.scroller.className = 'scroller';
    this.scroller.tabIndex = 0;
    this.scroller.setAttribute('role', 'grid');
    this.scroller.setAttribute('aria-label', container.getAttribute('aria-label') || '表格');
    this.table = document.createElement('table');
    this.text = document.createElement('input');
    this.text.className = 'celltext';
    this.text.hidden = true;
    this.text.setAttribute('aria-label', '单元格');
    this.list = document.createElement('select');
    this.list.className = 'celllist';
    this.list.size = 4;
    this.list.hidden = true;
    this.list.setAttribute('aria-label', '选择');
    this.scroller.append(this.table, this.text, this.list);
    container.append(this.scroller);

    this.scroller.addEventListener('keydown', (e) => this.gridKey(e));
    this.table.addEventListener('mousedown', (e) => this.cellPress(e, 'click'));
    this.table.addEventListener('dblclick', (e) => this.cellPress(e, 'doubleClick'));
    this.text.addEventListener('keydown', (e) => this.textKey(e));
    this.list.addEventListener('keydown', (e) => this.listKey(e));
    this.list.addEventListener('click', () => {
      if (this.list.value !== '' || this.list.selectedIndex >= 0)
        this.send({op: 'grid', grid: this.name, action: 'listChoice', chosen: this.list.value});
    });
    this.list.addEventListener('blur', (e) => {
      if (this.rendering || this.list.hidden || e.relatedTarget === this.list) return;
      this.send({op: 'grid', grid: this.name, action: 'listFocusLost'});
    });
  }

  // What the student has typed into a floating editor and the rules have not
  // read yet: it goes with every request, as the desktop's editors are read
  // before every rule.
  editorTexts() {
    if (!this.grid) return null;
    const texts = {};
    if (!this.text.hidden) texts.text = this.text.value;
    if (!this.list.hidden) texts.list = this.list.value;
    return Object.keys(texts).length ? texts : null;
  }

  rows() { return this.grid ? this.grid.cells.length : 0; }
  cols() { return this.grid ? this.grid.widths.length : 0; }

  gridKey(event) {
    if (event.target !== this.scroller || !this.grid) return;
    const moves = {ArrowUp: [-1, 0], ArrowDown: [1, 0], ArrowLeft: [0, -1], ArrowRight: [0, 1],
                   PageUp: [-10, 0], PageDown: [10, 0]};
    let row = this.grid.row, col = this.grid.col;
    if (moves[event.key] && !event.altKey && !event.ctrlKey) {
      row = Math.min(Math.max(row + moves[event.key][0], 1), this.rows() - 1);
      col = Math.min(Math.max(col + moves[event.key][1], 0), this.cols() - 1);
    } else if (event.key === 'Home' || event.key === 'End') {
      col = event.key === 'Home' ? 0 : this.cols() - 1;
    } else {
      const key = typedKeyCode(event);
      if (key === null) return;
      event.preventDefault();
      this.send({op: 'grid', grid: this.name, action: 'key', key, text: key === 13 ? '\r' : event.key});
      return;
    }
    event.preventDefault();
    this.send({op: 'grid', grid: this.name, action: 'move', row, col});
  }

  cellPress(event, action) {
    const cell = event.target.closest('td');
    if (!cell) return;
    event.preventDefault();
    this.scroller.focus();
    this.send({op: 'grid', grid: this.name, action, row: Number(cell.dataset.row), col: Number(cell.dataset.col)});
  }

  // Space and Enter commit the typing and move on; Escape gives it up.
  textKey(event) {
    const key = typedKeyCode(event);
    if (key !== 13 && key !== 32 && key !== 27) return;
    event.preventDefault();
    event.stopPropagation();
    this.send({op: 'grid', grid: this.name, action: 'textKey', key});
  }

  // Enter chooses the entry shown, as the desktop's list activates an
  // entry; Space writes it without moving on; Escape closes the list.
  listKey(event) {
    const key = typedKeyCode(event);
    if (key !== 13 && key !== 32 && key !== 27) return;
    event.preventDefault();
    event.stopPropagation();
    if (key === 13)
      this.send({op: 'grid', grid: this.name, action: 'listChoice', chosen: this.list.value});
    else
      this.send({op: 'grid', grid: this.name, action: 'listKey', key});
  }

  // Draws the grid as the state has it; `marks` colours cells of an answer
  // sheet ("right", "wrong").
  render(grid, marks = []) {
    this.rendering = true;
    this.grid = grid;
    const widths = grid.widths.map((w) => Math.max(Math.round(w / kTwipsPerPixel), 24));
    let html = '<colgroup>' + widths.map((w) => `<col style="width:${w}px">`).join('') + '</colgroup>';
    html += '<thead><tr>' + grid.cells[0].map((t) => `<th scope="col">${escaped(t)}</th>`).join('') + '</tr></thead><tbody>';
    for (let r = 1; r < grid.cells.length; ++r) {
      html += '<tr>';
      grid.cells[r].forEach((t, c) => {
        const classes = [];
        if (r === grid.row && c === grid.col) classes.push('current');
        if (c < grid.fixedCols) classes.push('fixed');
        const mark = marks[r] && marks[r][c];
        if (mark) classes.push(mark);
        html += `<td data-row="${r}" data-col="${c}" class="${classes.join(' ')}"` +
                `${r === grid.row && c === grid.col ? ' aria-selected="true"' : ''}>${escaped(t)}</td>`;
      });
      html += '</tr>';
    }
    this.table.innerHTML = html + '</tbody>';
    const current = this.table.querySelector('td.current');
    const editor = grid.editor;
    this.text.hidden = !editor.textVisible;
    this.text.value = editor.text;
    this.list.hidden = !editor.listVisible;
    if (editor.listVisible) {
      this.list.innerHTML = editor.list.map((t) => `<option value="${escaped(t)}">${t === '' ? '&nbsp;' : escaped(t)}</option>`).join('');
      this.list.value = editor.listText;
      if (this.list.selectedIndex < 0) this.list.selectedIndex = 0;
    }
    if (current) {
      for (const box of [this.text, this.list]) {
        box.style.left = `${current.offsetLeft}px`;
        box.style.top = `${current.offsetTop}px`;
      }
      this.text.style.width = `${current.offsetWidth}px`;
      this.text.style.height = `${current.offsetHeight}px`;
      const top = current.offsetTop - this.scroller.scrollTop;
      if (top < current.offsetHeight || top > this.scroller.clientHeight - current.offsetHeight)
        this.scroller.scrollTop = current.offsetTop - this.scroller.clientHeight / 2;
    }
    this.rendering = false;
  }

  // "text", "list" or "grid": where the keys go next.
  focus(what) {
    this.rendering = true;
    if (what === 'text' && !this.text.hidden) {
      this.text.focus();
      this.text.setSelectionRange(this.text.value.length, this.text.value.length);
    } else if (what === 'list' && !this.list.hidden) {
      this.list.focus();
    } else {
      this.scroller.focus();
    }
    this.rendering = false;
  }
}
