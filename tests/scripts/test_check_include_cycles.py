"""The include loop check finds loops between units and nothing else."""

import os
import subprocess
import sys
import tempfile
import unittest

CHECK = os.path.join(os.path.dirname(__file__), '..', '..', 'scripts', 'check_include_cycles.py')


class IncludeLoops(unittest.TestCase):
    def run_check(self, files):
        with tempfile.TemporaryDirectory() as root:
            for name, includes in files.items():
                path = os.path.join(root, name)
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, 'w') as out:
                    out.write(''.join(f'#include "{i}"\n' for i in includes))
                    out.write('#include <QObject>\n')
            done = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
            return done.returncode, done.stdout.replace(root + os.sep, '')

    def test_a_source_that_includes_a_header_that_includes_it_back_is_a_loop(self):
        code, out = self.run_check({'a/a.h': [], 'a/a.cpp': ['a.h', 'b.h'], 'b/b.h': ['a.h'], 'b/b.cpp': ['b.h']})
        self.assertEqual(code, 1)
        self.assertIn('a/a <-> b/b', out)

    def test_a_loop_through_three_units_across_folders(self):
        code, out = self.run_check({'x/a.h': ['b.h'], 'y/b.cpp': ['c.h'], 'y/b.h': [], 'z/c.h': ['ui_c.h', 'a.h']})
        self.assertEqual(code, 1)
        self.assertIn('x/a <-> y/b <-> z/c', out)

    def test_chains_shared_headers_and_generated_forms_are_no_loop(self):
        code, out = self.run_check({
            'a/a.h': ['types.h'], 'a/a.cpp': ['a.h', 'b.h', 'ui_a.h'],
            'b/b.h': ['types.h'], 'b/b.cpp': ['b.h', 'types.h'], 'b/types.h': [],
        })
        self.assertEqual(code, 0, out)

    def test_the_header_beside_the_file_is_the_one_it_includes(self):
        # Two folders with a util.h: each unit includes its own, no loop.
        code, out = self.run_check({
            'p/util.h': [], 'p/p.cpp': ['util.h', 'q.h'], 'p/p.h': [],
            'q/util.h': [], 'q/q.h': [], 'q/q.cpp': ['util.h'],
        })
        self.assertEqual(code, 0, out)


if __name__ == '__main__':
    unittest.main()
