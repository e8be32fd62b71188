import java.awt.Color;
import java.awt.Point;
import java.awt.Robot;
import java.awt.event.InputEvent;
import java.util.List;

/**
 * The running show: frame order, pauses and end delay, the repeat count, start, stop and
 * destroy, and pausing with a mouse click. Times are checked against a lower bound and an
 * upper bound three times as long, so the checks hold on a loaded machine.
 */
class PlaybackChecks {
    static final long SECOND = AppletHarness.SECOND;

    static void pictures(Workspace site) throws Exception {
        site.picture("f0.gif", 40, 30, Color.red, "gif");
        site.picture("f1.jpg", 40, 30, Color.green, "jpeg");
        site.picture("f2.gif", 40, 30, Color.blue, "gif");
    }

    static int[] indices(List<RecordingApplet.Shown> shown) {
        int[] result = new int[shown.size()];
        for (int i = 0; i < result.length; i++)
            result[i] = shown.get(i).index;
        return result;
    }

    static String order(List<RecordingApplet.Shown> shown) {
        return java.util.Arrays.toString(indices(shown));
    }

    static long gap(List<RecordingApplet.Shown> shown, int i) {
        return AppletHarness.millis(shown.get(i).nanos - shown.get(i - 1).nanos);
    }

    static void timing(Workspace site, Checks checks) throws Exception {
        pictures(site);

        // Three frames twice over, 200 ms apart, 600 ms more after the last frame.
        HarnessHost host = site.host().param("imagelist", "f0.gif,f1.jpg,f2.gif").param("pause", "200")
                .param("enddelay", "600").param("repeat", "2");
        final RecordingApplet a = AppletHarness.mount(new RecordingApplet(), host, 0, 0, 120, 60);
        checks.isTrue("repeat 2: finishes", AppletHarness.await(new AppletHarness.Condition() {
            public boolean holds() {
                return a.isFinished();
            }
        }, 30 * SECOND));
        Thread.sleep(600);
        List<RecordingApplet.Shown> shown = a.shown();
        checks.equal("repeat 2: frame order", "[0, 1, 2, 0, 1, 2]", order(shown));
        checks.equal("repeat 2: plays", 2, a.plays());
        if (shown.size() == 6) {
            checks.between("pause 0->1", 200, gap(shown, 1), 600);
            checks.between("pause 1->2", 200, gap(shown, 2), 600);
            checks.between("end delay 2->0", 800, gap(shown, 3), 2400);
            checks.between("pause 0->1 again", 200, gap(shown, 4), 600);
            checks.between("pause 1->2 again", 200, gap(shown, 5), 600);
        }
        checks.equal("repeat 2: thread ended", null, a.animatorThread());
        checks.equal("repeat 2: last frame stays", 2, a.currentFrame());
        AppletHarness.unmount(a, host);

        // No PAUSE: 100 ms; no REPEAT: without end.
        host = site.host().param("imagelist", "f0.gif,f1.jpg");
        RecordingApplet b = AppletHarness.mount(new RecordingApplet(), host, 0, 0, 120, 60);
        checks.isTrue("default pause: frames shown", b.awaitShown(9, 20 * SECOND));
        shown = b.shown();
        for (int i = 1; i < 9; i++)
            checks.between("default pause gap " + i, 100, gap(shown, i), 300);
        checks.equal("endless: order", "[0, 1, 0, 1, 0, 1, 0, 1, 0]", order(shown.subList(0, 9)));
        checks.isTrue("endless: still running", !b.isFinished() && b.animatorThread() != null);
        AppletHarness.unmount(b, host);

        // A count below one still plays the sequence once.
        host = site.host().param("imagelist", "f0.gif,f1.jpg").param("pause", "50").param("repeat", "0");
        final RecordingApplet c = AppletHarness.mount(new RecordingApplet(), host, 0, 0, 120, 60);
        AppletHarness.await(new AppletHarness.Condition() {
            public boolean holds() {
                return c.isFinished();
            }
        }, 10 * SECOND);
        Thread.sleep(300);
        checks.equal("repeat 0: played once", "[0, 1]", order(c.shown()));
        AppletHarness.unmount(c, host);

        // A pause of 0 still leaves the processor some rest between steps.
        host = site.host().param("imagelist", "f0.gif,f1.jpg").param("pause", "0");
        RecordingApplet d = AppletHarness.mount(new RecordingApplet(), host, 0, 0, 120, 60);
        checks.isTrue("pause 0: runs", d.awaitShown(6, 10 * SECOND));
        shown = d.shown();
        for (int i = 1; i < 6; i++)
            checks.between("pause 0 gap " + i, quilanim.MIN_STEP_MILLIS, gap(shown, i), 30 * SECOND);
        AppletHarness.unmount(d, host);

        // One frame with an end delay: every step ends the sequence.
        host = site.host().param("imagelist", "f0.gif").param("pause", "100").param("enddelay", "200")
                .param("repeat", "3");
        final RecordingApplet e = AppletHarness.mount(new RecordingApplet(), host, 0, 0, 120, 60);
        AppletHarness.await(new AppletHarness.Condition() {
            public boolean holds() {
                return e.isFinished();
            }
        }, 10 * SECOND);
        shown = e.shown();
        checks.equal("one frame, repeat 3", "[0, 0, 0]", order(shown));
        for (int i = 1; i < shown.size(); i++)
            checks.between("one frame gap " + i, 300, gap(shown, i), 900);
        AppletHarness.unmount(e, host);
    }

    static void lifecycle(Workspace site, Checks checks) throws Exception {
        pictures(site);
        HarnessHost host = site.host().param("imagelist", "f0.gif,f1.jpg,f2.gif").param("pause", "50")
                .param("soundtrack", "theme.au");
        RecordingApplet a = AppletHarness.mount(new RecordingApplet(), host, 0, 0, 120, 60);
        checks.isTrue("runs", a.awaitShown(4, 10 * SECOND));
        Thread first = a.animatorThread();
        checks.isTrue("thread alive while running", first != null && first.isAlive());
        checks.equal("one soundtrack asked for", 1, host.clips.size());
        RecordingClip clip = host.clips.get(0);
        checks.equal("soundtrack beside the page", new java.net.URL(site.documentBase, "theme.au"), clip.url);
        checks.isTrue("soundtrack loops while running", clip.playing() && clip.loops() == 1 && a.isSoundPlaying());

        a.stop();
        checks.isTrue("stop ends the thread", !first.isAlive());
        checks.isTrue("stop stops the sound", !clip.playing() && !a.isSoundPlaying());
        int count = a.shownCount();
        Thread.sleep(300);
        checks.equal("no frames after stop", count, a.shownCount());

        int last = a.shown().get(count - 1).index;
        a.start();
        checks.isTrue("start runs again", a.awaitShown(count + 2, 10 * SECOND));
        List<RecordingApplet.Shown> shown = a.shown();
        checks.equal("start goes on where it stopped", last, shown.get(count).index);
        checks.equal("then the next frame", (last + 1) % 3, shown.get(count + 1).index);
        checks.isTrue("sound again", clip.playing() && clip.loops() == 2);
        checks.equal("the soundtrack is fetched once", 1, host.clips.size());

        Thread second = a.animatorThread();
        a.destroy();
        checks.isTrue("destroy ends the thread", second != null && !second.isAlive());
        checks.equal("destroy drops the mouse listener", 0, a.getMouseListeners().length);
        checks.isTrue("destroy stops the sound", !clip.playing());
        host.frame.dispose();

        // A finished show starts again from the first frame.
        host = site.host().param("imagelist", "f0.gif,f1.jpg").param("pause", "30").param("repeat", "1");
        final RecordingApplet b = AppletHarness.mount(new RecordingApplet(), host, 0, 0, 120, 60);
        AppletHarness.await(new AppletHarness.Condition() {
            public boolean holds() {
                return b.isFinished();
            }
        }, 10 * SECOND);
        b.stop();
        b.start();
        checks.isTrue("finished show restarts", b.awaitShown(4, 10 * SECOND));
        checks.equal("restart order", "[0, 1, 0, 1]", order(b.shown()));
        AppletHarness.unmount(b, host);

        // stop() ends a thread still waiting for pictures from a server that never answers.
        java.net.ServerSocket silent = new java.net.ServerSocket(0, 50, java.net.InetAddress.getByName("127.0.0.1"));
        try {
            host = site.host().param("imagelist", "http://127.0.0.1:" + silent.getLocalPort() + "/slow.gif");
            final RecordingApplet slow = AppletHarness.mount(new RecordingApplet(), host, 0, 0, 120, 60);
            Thread.sleep(300);
            Thread loading = slow.animatorThread();
            checks.isTrue("loading: thread waits", loading != null && loading.isAlive() && slow.shownCount() == 0);
            long before = System.nanoTime();
            slow.stop();
            checks.isTrue("stop ends a loading thread", loading != null && !loading.isAlive());
            checks.between("stop returns at once", 0, AppletHarness.millis(System.nanoTime() - before), 1000);
            AppletHarness.unmount(slow, host);
        } finally {
            silent.close();
        }

        // stop() also ends a paused show.
        host = site.host().param("imagelist", "f0.gif,f1.jpg").param("pause", "30");
        RecordingApplet c = AppletHarness.mount(new RecordingApplet(), host, 0, 0, 120, 60);
        c.awaitShown(1, 10 * SECOND);
        c.mousePressed(null);
        checks.isTrue("paused", c.isPaused());
        Thread paused = c.animatorThread();
        c.stop();
        checks.isTrue("stop ends a paused thread", paused != null && !paused.isAlive());
        AppletHarness.unmount(c, host);
    }

    static void click(Workspace site, Checks checks) throws Exception {
        pictures(site);
        HarnessHost host = site.host().param("imagelist", "f0.gif,f1.jpg").param("pause", "100")
                .param("soundtrack", "theme.au");
        final RecordingApplet a = AppletHarness.mount(new RecordingApplet(), host, 200, 150, 160, 120);
        host.frame.setAlwaysOnTop(true);
        checks.isTrue("runs", a.awaitShown(2, 10 * SECOND));
        Robot robot = new Robot();
        Point where = a.getLocationOnScreen();
        robot.mouseMove(where.x + 80, where.y + 60);
        robot.waitForIdle();

        clickAt(robot);
        checks.isTrue("a click pauses", AppletHarness.await(new AppletHarness.Condition() {
            public boolean holds() {
                return a.isPaused();
            }
        }, 5 * SECOND));
        RecordingClip clip = host.clips.get(0);
        checks.isTrue("the sound stops while paused", !clip.playing());
        int count = a.shownCount();
        int frame = a.currentFrame();
        Thread.sleep(700);
        checks.equal("no frames while paused", count, a.shownCount());
        checks.equal("the frame stays", frame, a.currentFrame());

        // Poll without waiting for the event queue, noting the last moment still paused.
        clickAt(robot);
        long lastPaused = System.nanoTime();
        long end = lastPaused + 5000000000L;
        while (a.isPaused() && System.nanoTime() < end) {
            lastPaused = System.nanoTime();
            Thread.sleep(2);
        }
        checks.isTrue("a second click resumes", !a.isPaused());
        checks.isTrue("frames again after resuming", a.awaitShown(count + 1, 5 * SECOND));
        List<RecordingApplet.Shown> shown = a.shown();
        if (shown.size() > count) {
            checks.between("next frame within the pause", 0, AppletHarness.millis(shown.get(count).nanos - lastPaused), 300);
            checks.equal("next frame follows", (frame + 1) % 2, shown.get(count).index);
        }
        checks.isTrue("the sound plays again", clip.playing());
        AppletHarness.unmount(a, host);
    }

    static void clickAt(Robot robot) {
        robot.mousePress(InputEvent.BUTTON1_DOWN_MASK);
        robot.mouseRelease(InputEvent.BUTTON1_DOWN_MASK);
    }
}
