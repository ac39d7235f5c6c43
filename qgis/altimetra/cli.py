"""altimetra-cli from Processing: where the program is, its generation methods, and runs of it whose
"progress N" lines move the progress bar, whose other lines go to the log, and which a cancel stops
(SIGTERM: the command stops between steps and writes nothing more)."""
import os
import queue
import re
import shlex
import shutil
import signal
import subprocess
import threading
import time

# The provider's setting that names the program (Settings > Options > Processing > Providers).
SETTING = 'ALTIMETRA_CLI'
PROGRESS = re.compile(r'^progress (\d+)$')
PREFIX = re.compile(r'^altimetra-cli (dem|tiles): ')
# Exit status of a run stopped by SIGINT or SIGTERM (altimetra-cli dem --help).
INTERRUPTED = 7


def setting():
    try:
        from processing.core.ProcessingConfig import ProcessingConfig
    except ImportError:
        return ''
    return ProcessingConfig.getSetting(SETTING) or ''


def program():
    """The altimetra-cli to run: the provider's setting, else $ALTIMETRA_CLI, else the one on PATH;
    None when none of them names a program that can run."""
    name = setting() or os.environ.get('ALTIMETRA_CLI', '') or 'altimetra-cli'
    if os.sep in name:
        return name if os.path.isfile(name) and os.access(name, os.X_OK) else None
    return shutil.which(name)


def methods(prog):
    """The generation methods, [(name, English description, Japanese description)], in the order
    the command lists them; [] when it cannot say."""
    if not prog:
        return []
    try:
        r = subprocess.run([prog, 'dem', '--list-methods'], stdin=subprocess.DEVNULL,
                           capture_output=True, text=True, encoding='utf-8', errors='replace',
                           timeout=60)
    except (OSError, subprocess.SubprocessError):
        return []
    if r.returncode != 0:
        return []
    out = []
    for line in r.stdout.splitlines():
        f = line.split('\t')
        if f[0]:
            f += [''] * (3 - len(f))
            # The Japanese text is the preferences' label, which marks the window's default method
            # (標準); the command's default is another.
            out.append((f[0], f[1], f[2].replace('（標準）', '') or f[1]))
    return out


def version(prog):
    try:
        r = subprocess.run([prog, '--version'], stdin=subprocess.DEVNULL, capture_output=True,
                           text=True, timeout=60)
    except (OSError, subprocess.SubprocessError):
        return ''
    return r.stdout.strip().split(' ')[-1] if r.returncode == 0 else ''


def output(args):
    """Standard output of a short command (the tile list); (status, stdout, message lines)."""
    r = subprocess.run(args, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                       encoding='utf-8', errors='replace')
    return r.returncode, r.stdout, messages(r.stderr.splitlines())


def messages(lines):
    """What the command said, without its name; the usage text after a wrong command line left out."""
    out = []
    for line in lines:
        if line.startswith('usage:'):
            break
        if line and not PROGRESS.match(line):
            out.append(PREFIX.sub('', line))
    return out


def _quote(args):
    return ' '.join(shlex.quote(a) for a in args)


class Runs:
    """Runs commands, at most `jobs` at once, until every one has succeeded, one has failed or the
    user cancelled. progress(i, percent) hears command i's progress; its other lines go to the log.
    After run(): status is 0, the first failure's exit status, or None when cancelled; errors holds
    what the failed command said."""

    def __init__(self, commands, jobs, feedback, progress):
        self.commands = list(commands)
        self.jobs = max(1, jobs)
        self.feedback = feedback
        self.progress = progress
        self.status = 0
        self.errors = []

    def _read(self, i, stream, q):
        with stream:
            for line in stream:
                q.put((i, line.rstrip('\n')))
        q.put((i, None))

    def _stop(self, running):
        for p, _, _ in running.values():
            if p.poll() is None:
                p.send_signal(signal.SIGTERM)

    def run(self):
        q = queue.Queue()
        pending = list(enumerate(self.commands))
        running = {}  # i: (process, reader, lines)
        cancelled = False
        stopping = False
        deadline = None
        while pending or running:
            while pending and len(running) < self.jobs and not stopping:
                i, args = pending.pop(0)
                self.feedback.pushCommandInfo(_quote(args))
                try:
                    p = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.PIPE, text=True, encoding='utf-8',
                                         errors='replace')
                except OSError as e:
                    self.status = 127
                    self.errors = ['{}: {}'.format(args[0], e.strerror)]
                    stopping = True
                    break
                t = threading.Thread(target=self._read, args=(i, p.stderr, q), daemon=True)
                t.start()
                running[i] = (p, t, [])
            if not running:
                break
            try:
                i, line = q.get(timeout=0.1)
            except queue.Empty:
                i, line = None, None
            if i is not None and line is None:
                p, t, lines = running.pop(i)
                rc = p.wait()
                t.join()
                if rc == 0:
                    self.progress(i, 100)
                elif not stopping:
                    self.status = rc
                    self.errors = messages(lines) or ['altimetra-cli ended with status {}'.format(rc)]
                    stopping = True
                    self._stop(running)
            elif i is not None:
                m = PROGRESS.match(line)
                if m:
                    self.progress(i, int(m.group(1)))
                else:
                    running[i][2].append(line)
                    self.feedback.pushConsoleInfo(line)
            if self.feedback.isCanceled() and not cancelled:
                cancelled = stopping = True
                self._stop(running)
                deadline = time.monotonic() + 30
            if deadline is not None:
                # A command deaf to SIGTERM is killed after 30 s.
                if time.monotonic() > deadline:
                    for p, _, _ in running.values():
                        p.kill()
                    deadline = None
        if cancelled:
            self.status = None
        return self.status
