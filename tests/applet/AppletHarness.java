import java.awt.Color;
import java.awt.EventQueue;
import java.awt.Frame;
import java.awt.GraphicsEnvironment;
import java.awt.Point;

/**
 * Runs the slideshow applet the way a browser does (in a window, with stub parameters)
 * and checks what it does. One group of checks per run:
 *
 *   java AppletHarness parameters|drawing|label|motion|timing|lifecycle|click
 *   java AppletHarness show SECONDS     (a window with two slideshows, for a look)
 *   java AppletHarness render PAGE-URL WIDTH HEIGHT OUT.png NAME=VALUE...
 *                                       (the first picture drawn, for the web player's tests)
 *
 * Needs an X display (run under xvfb-run). The exit status is 0 when every check passed.
 */
public class AppletHarness {
    static final long SECOND = 1000;

    public static void main(String[] args) throws Exception {
        if (args.length == 0) {
            System.out.println("usage: AppletHarness GROUP");
            System.exit(2);
        }
        if (GraphicsEnvironment.isHeadless()) {
            System.out.println("FAIL the applet harness needs an X display (run it under xvfb-run)");
            System.exit(1);
        }
        Workspace site = new Workspace();
        Checks checks = new Checks();
        String group = args[0];
        if (group.equals("parameters"))
            ParameterChecks.run(site, checks);
        else if (group.equals("drawing"))
            DrawingChecks.run(site, checks);
        else if (group.equals("label"))
            LabelChecks.run(checks);
        else if (group.equals("motion"))
            MotionChecks.run(site, checks);
        else if (group.equals("timing"))
            PlaybackChecks.timing(site, checks);
        else if (group.equals("lifecycle"))
            PlaybackChecks.lifecycle(site, checks);
        else if (group.equals("click"))
            PlaybackChecks.click(site, checks);
        else if (group.equals("render")) {
            RenderOnce.run(args);
            System.exit(0);
        } else if (group.equals("show")) {
            ShowWindow.show(site, args.length > 1 ? Integer.parseInt(args[1]) : 10);
            System.exit(0);
        } else {
            System.out.println("unknown group " + group);
            System.exit(2);
        }
        System.out.println(group + ": " + checks.passed() + " checks passed, " + checks.failed() + " failed");
        System.exit(checks.failed() == 0 ? 0 : 1);
    }

    /** Gives the applet its host and runs init(), as a browser does before showing it. */
    static <T extends quilanim> T prepare(T applet, HarnessHost host, int width, int height) {
        // The size first: once the applet has its stub, resizing asks the page to follow.
        applet.setSize(width, height);
        host.applet = applet;
        applet.setStub(host);
        applet.init();
        return applet;
    }

    /**
     * Puts the applet in an undecorated window at left, top of the screen, runs init() and
     * start(), and waits until the window is on screen.
     */
    static <T extends quilanim> T mount(T applet, HarnessHost host, int left, int top, int width, int height)
            throws Exception {
        Frame frame = new Frame("quilanim");
        frame.setUndecorated(true);
        frame.setLayout(null);
        frame.setBackground(Color.white);
        host.frame = frame;
        host.applet = applet;
        applet.setStub(host);
        frame.add(applet);
        applet.setBounds(0, 0, width, height);
        frame.setBounds(left, top, Math.max(width, 1), Math.max(height, 1));
        frame.setVisible(true);
        applet.init();
        applet.start();
        waitUntilShowing(frame);
        return applet;
    }

    static void unmount(quilanim applet, HarnessHost host) {
        applet.stop();
        applet.destroy();
        if (host.frame != null)
            host.frame.dispose();
    }

    static void waitUntilShowing(Frame frame) throws Exception {
        long end = System.currentTimeMillis() + 10 * SECOND;
        while (System.currentTimeMillis() < end) {
            final Point[] where = new Point[1];
            final Frame f = frame;
            EventQueue.invokeAndWait(new Runnable() {
                public void run() {
                    if (f.isShowing())
                        where[0] = f.getLocationOnScreen();
                }
            });
            if (where[0] != null)
                return;
            Thread.sleep(20);
        }
        throw new IllegalStateException("the window never showed");
    }

    /** Polls until condition holds or timeoutMillis pass; the condition's last answer. */
    static boolean await(Condition condition, long timeoutMillis) throws InterruptedException {
        long end = System.currentTimeMillis() + timeoutMillis;
        while (true) {
            if (condition.holds())
                return true;
            if (System.currentTimeMillis() >= end)
                return false;
            Thread.sleep(5);
        }
    }

    interface Condition {
        boolean holds();
    }

    static long millis(long nanos) {
        return nanos / 1000000L;
    }
}
